#include "editor/MotionCommands.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "anim/WholeMotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/MotionListChange.h"

#include <algorithm>

namespace m3d {

namespace {

int LastMotion(const EditorSession& session) { return session.GetScene().MotionCount() - 1; }

// Runs a whole-motion operation on the current Motion as command, then shows
// the Motion at the current frame.
template <typename Operation>
void RunOnCurrentMotion(EditorSession& session, EditorCommand command, Operation operation)
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return;
    DocumentEdit edit(session, command);
    edit.WatchMotion(motion);
    operation(session.GetScene(), motion);
    EvaluatePose(session.GetScene(), motion, session.CurrentFrame());
    session.ShowCurrentTransform();
    session.Events().Publish(MotionKeysChanged{motion});
}

}  // namespace

bool NewMotionCommand(EditorSession& session, const std::string& name)
{
    Scene& scene = session.GetScene();
    // A new Motion starts where the current one starts, not from whatever
    // pose is on screen; without a Motion, from the pose there is.
    std::vector<Matrix4> start;
    if (const int current = session.CurrentMotion(); current >= 0)
        for (int part = 0; part < scene.PartCount(); ++part) {
            const Motion& from = scene.Motions()[current];
            // The frame-0 key itself where there is one (every track has it but in damaged data).
            const int key = part < static_cast<int>(from.tracks.size()) ? from.tracks[size_t(part)].FindKey(0) : -1;
            const TrackPose pose = PartPoseAt(scene, from, part, 0);
            start.push_back(key >= 0 ? from.tracks[size_t(part)].keys[size_t(key)].matrix
                                     : KeyMatrixOf(pose.localMatrix, pose.localPosition));
        }
    DocumentEdit edit(session, EditorCommand::NewMotion);
    if (!NewMotion(scene, name)) return false;
    const int added = LastMotion(session);
    for (size_t part = 0; part < start.size(); ++part)
        SetKeyMatrix(scene, added, static_cast<int>(part), 0, start[part]);
    edit.Add(MotionListChange::Added(added));
    session.SelectMotion(added);
    if (!start.empty()) {
        session.SetCurrentFrame(0);
        EvaluatePose(scene, added, 0);
        session.ShowCurrentTransform();
    }
    return true;
}

bool DuplicateMotionCommand(EditorSession& session, const std::string& name)
{
    DocumentEdit edit(session, EditorCommand::NewMotion);
    if (!DuplicateMotion(session.GetScene(), session.CurrentMotion(), name)) return false;
    edit.Add(MotionListChange::Added(LastMotion(session)));
    session.SelectMotion(LastMotion(session));
    session.SetCurrentFrame(0);
    return true;
}

bool DeleteMotionCommand(EditorSession& session)
{
    const int index = session.CurrentMotion();
    if (index < 0) return false;
    DocumentEdit edit(session, EditorCommand::DeleteMotion);
    Motion removed = session.GetScene().Motions()[index];
    if (!DeleteMotion(session.GetScene(), index)) return false;
    edit.Add(MotionListChange::Removed(index, std::move(removed)));
    session.SelectMotion(std::min(index, LastMotion(session)));
    return true;
}

bool RenameMotionCommand(EditorSession& session, const std::string& name)
{
    const int index = session.CurrentMotion();
    DocumentEdit edit(session, EditorCommand::RenameMotion);
    edit.WatchMotion(index);
    if (!RenameMotion(session.GetScene(), index, name)) return false;
    session.SelectMotion(index);
    return true;
}

bool SetMotionLengthCommand(EditorSession& session, int length)
{
    const int index = session.CurrentMotion();
    DocumentEdit edit(session, EditorCommand::SetMotionLength);
    edit.WatchMotion(index);
    if (!SetMotionLength(session.GetScene(), index, length)) return false;
    if (session.CurrentFrame() > length) session.SetCurrentFrame(length);
    session.SelectMotion(index);
    return true;
}

bool SetMotionLoopCommand(EditorSession& session, int motion, bool loop)
{
    Motion* target = session.GetScene().EditMotion(motion);
    if (!target || target->loop == loop) return false;
    DocumentEdit edit(session, EditorCommand::ToggleMotionLoop);
    edit.WatchMotion(motion);
    target->loop = loop;
    // The curves near the seam change as if keys had.
    session.Events().Publish(MotionKeysChanged{motion});
    if (motion == session.CurrentMotion()) EvaluatePose(session.GetScene(), motion, session.CurrentFrame());
    return true;
}

int MatchLoopEndsCommand(EditorSession& session)
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return 0;
    DocumentEdit edit(session, EditorCommand::MatchLoopEnds);
    edit.WatchMotion(motion);
    const int matched = MatchLoopEnds(session.GetScene(), motion);
    session.Events().Publish(MotionKeysChanged{motion});
    EvaluatePose(session.GetScene(), motion, session.CurrentFrame());
    return matched;
}

int DeleteRedundantKeysCommand(EditorSession& session)
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return 0;
    DocumentEdit edit(session, EditorCommand::DeleteRedundantKeys);
    edit.WatchMotion(motion);
    const int deleted = DeleteRedundantKeys(session.GetScene(), motion);
    session.Events().Publish(MotionKeysChanged{motion});
    return deleted;
}

void MirrorMotionCommand(EditorSession& session)
{
    RunOnCurrentMotion(session, EditorCommand::MirrorMotion, MirrorMotion);
}

void GroundAllKeyframesCommand(EditorSession& session)
{
    RunOnCurrentMotion(session, EditorCommand::GroundAllKeyframes, GroundAllKeyframes);
}

void TurnMotionAroundCommand(EditorSession& session)
{
    RunOnCurrentMotion(session, EditorCommand::TurnMotionAround, TurnMotionAround);
}

void LevelPartInAllKeyframesCommand(EditorSession& session)
{
    const int part = session.CurrentPart();
    if (!session.GetScene().PartAt(part)) return;
    RunOnCurrentMotion(session, EditorCommand::LevelPartInAllKeyframes,
                       [part](Scene& scene, int motion) { LevelPartInAllKeyframes(scene, motion, part); });
}

}  // namespace m3d
