#include "editor/FrameCommands.h"

#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/FrameNavigation.h"
#include "text/UiText.h"

#include <algorithm>

namespace m3d {

const char* const kFrameChangeLabel = QT_TRANSLATE_NOOP("core", "フレームの移動");

namespace {

// The current Motion when a frame command can run on it, else nullptr.
const Motion* MotionToStepIn(const EditorSession& session)
{
    const int motion = session.CurrentMotion();
    return motion < 0 || session.IsPlaying() ? nullptr : &session.GetScene().Motions()[motion];
}

}  // namespace

void GoToFrameCommand(EditorSession& session, int frame)
{
    const Motion* motion = MotionToStepIn(session);
    if (!motion) return;
    frame = std::clamp(frame, 0, motion->length);
    const bool unkeyedEdits = PoseHasUnkeyedEdits(session);
    session.Timeline().ScrollToShow(frame);
    session.SetCurrentFrame(frame);
    EvaluatePose(session.GetScene(), session.CurrentMotion(), frame);
    session.ShowCurrentTransform();
    EndFrameChange(session, unkeyedEdits, UiText("core", kFrameChangeLabel));
}

void StepFrameCommand(EditorSession& session, int delta)
{
    const Motion* motion = MotionToStepIn(session);
    if (!motion) return;
    const int frame = std::clamp(std::min(session.CurrentFrame(), motion->length) + delta, 0, motion->length);
    // At either end there is no frame to step to: the pose shown stays.
    if (frame != session.CurrentFrame()) GoToFrameCommand(session, frame);
}

void GoToLastFrameCommand(EditorSession& session)
{
    if (const Motion* motion = MotionToStepIn(session)) GoToFrameCommand(session, motion->length);
}

void GoToNeighbourKeyCommand(EditorSession& session, KeyDirection direction)
{
    const Motion* motion = MotionToStepIn(session);
    if (!motion) return;
    const int frame = NeighbourKeyFrame(*motion, session.CurrentPart(), session.CurrentFrame(), direction);
    if (frame >= 0) GoToFrameCommand(session, frame);
}

}  // namespace m3d
