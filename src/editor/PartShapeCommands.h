#pragma once

#include "math/Vec3.h"

namespace m3d {

class EditorSession;

// Moves the current Part's pivot to point, in its own coordinates, keeping
// everything where it stands at every frame (MovePartPivot): one undo step
// of its geometry, its and its children's keys and the pose. False (no step)
// without a current Part or when point is its pivot already.
bool MovePivotCommand(EditorSession& session, Vec3 point);

// Scales the current Part's geometry by factor about its pivot (ResizePart)
// as one undo step. False (no step) without a current Part, for a factor of 1
// or one ResizePart refuses.
bool ResizePartCommand(EditorSession& session, float factor);

}  // namespace m3d
