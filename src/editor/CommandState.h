#pragma once

#include "editor/EditorCommand.h"
#include "editor/EditorEvent.h"

namespace m3d {

class EditorSession;

// Whether event can change what CanRun answers (selection, Parts, Motions,
// playing, history, pose drags): controls refresh their enabled state only then, not on
// every pose step of a drag or playback.
bool ChangesCommandState(const EditorEvent& event);

// Whether command can run in the session's present state: what its registry
// entry needs, and for Undo and Redo a step to go to.
bool CanRun(const EditorSession& session, EditorCommand command);

}  // namespace m3d
