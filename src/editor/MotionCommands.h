#pragma once

#include <string>

namespace m3d {

class EditorSession;

// The Motion commands of the session: the motion operations with the current
// Motion and frame kept in step, and the whole-motion commands, each recorded
// as one undo step. Names are checked as NewMotion checks them: false and
// nothing changes on a refused one.

// Appends a Motion and makes it current. Its frame-0 keys are those of the
// Motion that was current, which it then shows at frame 0; without one they
// hold the pose shown, and the current frame stays.
bool NewMotionCommand(EditorSession& session, const std::string& name);
// Appends a copy of the current Motion under name; it becomes current at frame 0.
bool DuplicateMotionCommand(EditorSession& session, const std::string& name);
// Deletes the current Motion; the next one (or the new last one, or none)
// becomes current.
bool DeleteMotionCommand(EditorSession& session);
bool RenameMotionCommand(EditorSession& session, const std::string& name);
// Sets the current Motion's last frame; the current frame is lowered to it
// so that no key can be set beyond it.
bool SetMotionLengthCommand(EditorSession& session, int length);
// Makes Motion motion a loop or not (Motion::loop); false, and no undo step,
// when it already is so or there is no such Motion.
bool SetMotionLoopCommand(EditorSession& session, int motion, bool loop);
// MatchLoopEnds on the current Motion as one undo step, then shows its pose
// at the current frame; the number of tracks changed.
int MatchLoopEndsCommand(EditorSession& session);

// "追加機能" of the Option menu, on the current Motion (nothing without one).
// All but the first end by showing the current Motion at the current frame;
// the keys and that pose are one undo step.
int DeleteRedundantKeysCommand(EditorSession& session);
void MirrorMotionCommand(EditorSession& session);
void GroundAllKeyframesCommand(EditorSession& session);
// Levels the current Part in every key of its track (nothing without one).
void LevelPartInAllKeyframesCommand(EditorSession& session);
void TurnMotionAroundCommand(EditorSession& session);

}  // namespace m3d
