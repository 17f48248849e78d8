#pragma once

#include "editor/PartNameRules.h"

#include <string>

namespace m3d {

class EditorSession;

// Renames the current Part to name cut at its first '.' (CheckPartName), as
// one undo step: that becomes its baseName, and its displayName unless
// another Part shows that name already (then the first free numbered one).
// Its .mesh file takes the new name at the next save; the file of the old
// name is left as it is. A name CheckPartName refuses changes nothing and is
// answered with the problem; the Part's own name, or no current Part,
// changes nothing either (None).
PartNameProblem RenameCurrentPart(EditorSession& session, const std::string& name);

// Moves the current Part with its subtree under Part newParent (-1: top
// level) as its last child, as one undo step (PlanPartMove says how the
// Parts are renumbered). Its keys in every Motion are re-expressed in the
// new parent's space (TracksUnderNewParent), so that it keeps its world
// placement at each of them, and so is its pose, so that it stays where it
// is on screen; the keys and poses of its children stay as they are. false,
// and nothing changes, without a current Part or for a parent that does not
// exist, lies in the Part's own subtree or is its parent already.
bool ReparentCurrentPart(EditorSession& session, int newParent);

}  // namespace m3d
