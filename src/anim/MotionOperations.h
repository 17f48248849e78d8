#pragma once

#include "anim/Motion.h"

#include <string>
#include <vector>

class Scene;

// Operations on the Motions of a Scene. Indices are 0-based; a Motion or Part
// index outside its array makes an operation do nothing (and return false
// where it returns anything). None of them redraws; each one that changes the
// Motion list or the current Motion reports MotionPanelNeedsRefresh.

// Names are checked by the dialog that asks for them (ValidateMotionName); a
// name it would refuse is refused here too (false, nothing changes), so no
// Motion ever holds a name the project file cannot store.

// Appends a Motion named name with the default length and one frame-0 key per
// Part holding its current pose; it becomes currentMotion. currentFrame is
// left as it was.
bool NewMotion(Scene& scene, const std::string& name);
// Appends a deep copy of Motion source under name; it becomes currentMotion
// and currentFrame becomes 0.
bool DuplicateMotion(Scene& scene, int source, const std::string& name);
// Removes Motion index; currentMotion becomes the same index, or the new last
// one, or -1 when none is left.
bool DeleteMotion(Scene& scene, int index);
bool RenameMotion(Scene& scene, int index, const std::string& name);
// Sets the last frame to length (at least 0) and drops every key after it.
// When it is the current Motion, currentFrame is lowered to the new length,
// so that no key can be set beyond it.
bool SetMotionLength(Scene& scene, int index, int length);
// Stores Part part's current pose as its key at frame.
bool SetKey(Scene& scene, int motion, int part, int frame);
// Stores matrix whole as Part part's key at frame.
bool SetKeyMatrix(Scene& scene, int motion, int part, int frame, const Matrix4& matrix);
// Removes Part part's key at frame; false when there is none. The frame-0 key
// is never removed (false).
bool DeleteKey(Scene& scene, int motion, int part, int frame);
// After a Part was appended: every Motion gets a track for it, and the
// frame-0 key of every Part in every Motion becomes that Part's current pose.
void AddTrackForNewPart(Scene& scene);
// After Parts were removed: map[old index] is the new index or -2 for a
// removed Part (new indices never exceed old ones). Every Motion keeps the
// tracks of the survivors at their new indices and has newCount tracks.
void CompactTracks(Scene& scene, const std::vector<int>& map, int newCount);
