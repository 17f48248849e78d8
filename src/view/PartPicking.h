#pragma once

#include "records/MeshRecords.h"
#include "view/ViewState.h"

#include <vector>

namespace m3d {

class Scene;

// Distance a hit must beat; no hit is farther than this.
constexpr float kNoHitDistance = 999999.875f;

// Where the pick ray meets triangle (a, b, c), its corners in drawing order
// (clockwise as seen from its front). Only a triangle that faces the ray's
// origin counts, and only a point in front of the origin (a Part behind the
// camera is not under the cursor). A point exactly on the line of an edge
// does not count. Returns false without touching point when there is no hit.
bool IntersectFacingTriangle(Vec3 a, Vec3 b, Vec3 c, const Ray& ray, Vec3& point);

// The widening of the quick box rejections for a ray and the world box lo ...
// hi of everything it is tested against (all coordinates inside the box).
float PickMargin(const Ray& ray, Vec3 lo, Vec3 hi);

// Tests the triangles of one strip, whose vertices in world space are
// worldVertices[strip.baseVertex + index]. Triangle m uses indices m, m + 1,
// m + 2 and runs reversed when m's parity differs from the winding flag;
// triangles with two equal indices are skipped (they still count for the
// parity), and so are indices past the vertices. A hit closer to eye than
// bestDistance (strictly) replaces it; returns true when one did. margin
// (PickMargin of the vertices) only speeds the search up: the hits are those
// of IntersectFacingTriangle on every triangle.
bool NearestHitInStrip(const _MESH_MESHDATA& strip, const std::vector<Vec3>& worldVertices, const Ray& ray, Vec3 eye,
                       float& bestDistance, float margin);

// Finds the Part under a pick ray: the one with the hit nearest to eye, the
// earlier Part in scene order on equal distances. Keeps a buffer of
// transformed vertices between calls.
class PartPicker {
public:
    // Index of the Part hit, or -1.
    int Pick(const Scene& scene, const Ray& ray, Vec3 eye);

private:
    std::vector<Vec3> worldVertices;
};

}  // namespace m3d
