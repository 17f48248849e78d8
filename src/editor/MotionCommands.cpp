#include "editor/MotionCommands.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "anim/WholeMotionOperations.h"
#include "editor/EditorSession.h"

#include <algorithm>

namespace {

int LastMotion(const EditorSession& session) { return static_cast<int>(session.GetScene().motions.size()) - 1; }

// The keys of the current Motion changed: show it at the current frame again
// and record that pose as one undo step.
void ShowEditedMotion(EditorSession& session)
{
    const int motion = session.CurrentMotion();
    EvaluatePose(session.GetScene(), motion, session.CurrentFrame());
    session.ShowCurrentTransform();
    session.History().PushUndo();
    session.Events().Publish(MotionKeysChanged{motion});
}

// Runs a whole-motion operation on the current Motion, then shows it.
template <typename Operation>
void RunOnCurrentMotion(EditorSession& session, Operation operation)
{
    if (session.CurrentMotion() < 0) return;
    operation(session.GetScene(), session.CurrentMotion());
    ShowEditedMotion(session);
}

}  // namespace

bool NewMotionCommand(EditorSession& session, const std::string& name)
{
    if (!NewMotion(session.GetScene(), name)) return false;
    session.SelectMotion(LastMotion(session));
    return true;
}

bool DuplicateMotionCommand(EditorSession& session, const std::string& name)
{
    if (!DuplicateMotion(session.GetScene(), session.CurrentMotion(), name)) return false;
    session.SelectMotion(LastMotion(session));
    session.SetCurrentFrame(0);
    return true;
}

bool DeleteMotionCommand(EditorSession& session)
{
    const int index = session.CurrentMotion();
    if (!DeleteMotion(session.GetScene(), index)) return false;
    session.SelectMotion(std::min(index, LastMotion(session)));
    return true;
}

bool RenameMotionCommand(EditorSession& session, const std::string& name)
{
    const int index = session.CurrentMotion();
    if (!RenameMotion(session.GetScene(), index, name)) return false;
    session.SelectMotion(index);
    return true;
}

bool SetMotionLengthCommand(EditorSession& session, int length)
{
    const int index = session.CurrentMotion();
    if (!SetMotionLength(session.GetScene(), index, length)) return false;
    if (session.CurrentFrame() > length) session.SetCurrentFrame(length);
    session.SelectMotion(index);
    return true;
}

bool SetKeyCommand(EditorSession& session)
{
    const int motion = session.CurrentMotion();
    if (!SetKey(session.GetScene(), motion, session.CurrentPart(), session.CurrentFrame())) return false;
    session.Events().Publish(MotionKeysChanged{motion});
    return true;
}

bool DeleteKeyCommand(EditorSession& session)
{
    const int motion = session.CurrentMotion();
    if (!DeleteKey(session.GetScene(), motion, session.CurrentPart(), session.CurrentFrame())) return false;
    session.Events().Publish(MotionKeysChanged{motion});
    return true;
}

int DeleteRedundantKeysCommand(EditorSession& session)
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return 0;
    const int deleted = DeleteRedundantKeys(session.GetScene(), motion);
    session.Events().Publish(MotionKeysChanged{motion});
    return deleted;
}

void MirrorMotionCommand(EditorSession& session) { RunOnCurrentMotion(session, MirrorMotion); }

void GroundAllKeyframesCommand(EditorSession& session) { RunOnCurrentMotion(session, GroundAllKeyframes); }

void TurnMotionAroundCommand(EditorSession& session) { RunOnCurrentMotion(session, TurnMotionAround); }

void LevelPartInAllKeyframesCommand(EditorSession& session)
{
    const int part = session.CurrentPart();
    if (!session.GetScene().PartAt(part)) return;
    RunOnCurrentMotion(session, [part](Scene& scene, int motion) { LevelPartInAllKeyframes(scene, motion, part); });
}
