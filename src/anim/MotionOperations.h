#pragma once

#include "scene/Motion.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;

// Operations on the Motions of a Scene. Indices are 0-based; a Motion or Part
// index outside its array makes an operation do nothing (and return false
// where it returns anything). They change the model only: which Motion and
// frame are current is the editing session's.

// Names are checked by the dialog that asks for them (ValidateMotionName); a
// name it would refuse is refused here too (false, nothing changes), so no
// Motion ever holds a name the project file cannot store.

// Appends a Motion named name with the default length and one frame-0 key per
// Part holding its current pose.
bool NewMotion(Scene& scene, const std::string& name);
// Appends a deep copy of Motion source under name.
bool DuplicateMotion(Scene& scene, int source, const std::string& name);
// Removes Motion index.
bool DeleteMotion(Scene& scene, int index);
bool RenameMotion(Scene& scene, int index, const std::string& name);
// Sets the last frame to length (at least 0) and drops every key after it.
bool SetMotionLength(Scene& scene, int index, int length);
// Stores Part part's current pose as its key at frame (SetKeyMatrix): a key
// there keeps its interpolation, a new key takes forNew.
bool SetKey(Scene& scene, int motion, int part, int frame, const KeyInterpolation& forNew = {});
// Stores matrix whole as Part part's key at frame, interpolations as SetKey.
// In a loop (Motion::loop) a key at frame 0 or at the last frame is stored at
// both: the two ends stay one pose. Both set SetKeyMatrix's way.
bool SetKeyMatrix(Scene& scene, int motion, int part, int frame, const Matrix4& matrix,
                  const KeyInterpolation& forNew = {});
// Gives every track of Motion motion with a frame-0 key that key's matrix
// and interpolation at the last frame too (a key there is replaced), so that
// a loop ends as it starts. Returns the number of tracks changed; 0 for no
// such Motion or one of length 0.
int MatchLoopEnds(Scene& scene, int motion);
// Gives Part part's key at frame the interpolation; false when there is no
// key there or it had that interpolation already. Handles as
// GiveKeyInterpolation gives them.
bool SetKeyInterpolation(Scene& scene, int motion, int part, int frame, const KeyInterpolation& interpolation);
// Removes Part part's key at frame; false when there is none. The frame-0 key
// is never removed (false).
bool DeleteKey(Scene& scene, int motion, int part, int frame);

}  // namespace m3d
