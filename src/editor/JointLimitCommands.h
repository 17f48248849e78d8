#pragma once

#include "scene/JointLimit.h"

namespace m3d {

class EditorSession;

// Gives Part part the joint limit limit, as one undo step that counts as an
// unsaved change (the side file keeps limits). false, and nothing changes,
// for an index of no Part, a limit IsValidJointLimit refuses, or the limit
// the Part has already.
bool SetJointLimitCommand(EditorSession& session, int part, const JointLimit& limit);

}  // namespace m3d
