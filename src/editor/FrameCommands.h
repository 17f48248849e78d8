#pragma once

#include "anim/KeyNeighbours.h"

namespace m3d {

class EditorSession;

// The keyboard's frame commands on the current Motion (nothing without one
// or while playing). Each makes its frame current, shows the Motion's pose
// there, scrolls the timeline to it and records that pose; a run of them
// (stepping through a Motion) is one undo step, named kFrameChangeLabel.
extern const char* const kFrameChangeLabel;  // "フレームの移動"

// Goes to frame, kept within 0 ... the Motion's length.
void GoToFrameCommand(EditorSession& session, int frame);
// Goes delta frames on from the current one (within the Motion); nothing at
// the end it would step beyond.
void StepFrameCommand(EditorSession& session, int delta);
// Goes to the Motion's last frame.
void GoToLastFrameCommand(EditorSession& session);
// Goes to the nearest key before or after the current frame of the selected
// Part, or of any Part when none is selected; nothing when there is none.
void GoToNeighbourKeyCommand(EditorSession& session, KeyDirection direction);

}  // namespace m3d
