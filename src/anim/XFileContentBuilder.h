#pragma once

#include "scene/Motion.h"
#include "anim/XFileContent.h"

#include <optional>
#include <vector>

namespace m3d {

class CMesh;
class Scene;

// Every frame 0 ... length - 1 at which some track of motion has a key,
// ascending, then length itself (a key at length is listed once). A negative
// length counts as 0. Where a track's segments are all linear, its poses at
// these frames blended linearly (slerp for rotations) give its pose at every
// frame between them.
std::vector<int> MotionKeyFrames(const Motion& motion);

// The frames at which a Motion's animation set carries keys: MotionKeyFrames
// and every frame before the length strictly inside a segment whose first
// key is not linear, so that blending between them misses no frame's pose.
std::vector<int> XFileKeyFrames(const Motion& motion);

// The kind of interpolation of every segment of track that an export up to
// lastFrame shows (those starting before lastFrame), when they share one;
// Linear when there is no such segment, nothing when their kinds differ.
std::optional<InterpolationKind> SharedInterpolationKind(const MotionTrack& track, int lastFrame);

// Takes everything the DirectX file needs out of scene:
// - one frame per Part, walking the parts tree from the root entry depth
//   first with siblings in tree order; its transform is the Part's first key
//   in the first Motion, its mesh what the Part's CMesh hands out;
// - one animation set per Motion, the last Motion first, with one animation
//   per Part in Part order whose keys are the pose of every Part at each of
//   XFileKeyFrames, at time frame x timeScaleFactor.
// The poses are those EvaluatePose would give, computed without writing them
// into the Parts: the scene is not changed (it is taken non-const only
// because the mesh manager hands out its textures that way). A Part whose
// track has no keys keeps its current pose, as it does under EvaluatePose.
XFileContent BuildXFileContent(Scene& scene, int timeScaleFactor);

// Multiplies every length of content (vertices, the translations of the
// frames' transforms and of the animation keys) by lengthScale: the same
// model, that much larger. Rotations and normals stay.
void ScaleXFileContent(XFileContent& content, float lengthScale);

// The pieces of the model every export shares.

// What mesh hands out (vertices, strips, materials, each material's texture
// by name and by index in scene's mesh manager); empty for a null mesh.
XMeshData ExportMeshData(Scene& scene, const CMesh* mesh);
// The matrix Part part starts with: its first key in the first Motion, or its
// current pose (KeyMatrixOf) when there is no Motion or that track has no key.
Matrix4 RestMatrixOf(const Scene& scene, int part);

// One Part in the order of the parts tree.
struct TreeOrderEntry {
    int part = 0;
    int depth = 0;  // 0: top level; a child is one deeper than its parent
};
// Every Part walking the parts tree from the root entry depth first, siblings
// in tree order (a Part, then its subtree, then its next sibling). Walked
// without recursion, so no deep hierarchy can exhaust the stack.
std::vector<TreeOrderEntry> PartsInTreeOrder(const Scene& scene);

}  // namespace m3d
