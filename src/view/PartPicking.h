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

// A Part under a pick ray and the distance from the eye to its nearest hit.
struct PartHit {
    int part = -1;
    float distance = 0.0f;
};

// Finds the Parts under a pick ray. Only Parts shown (checked in the parts
// tree) are under the cursor: the tree is the way to a hidden one. Keeps a
// buffer of transformed vertices between calls.
class PartPicker {
public:
    // Index of the Part with the hit nearest to eye, the earlier Part in
    // scene order on equal distances; -1 for none.
    int Pick(const Scene& scene, const Ray& ray, Vec3 eye);
    // Every Part hit, nearest first (equal distances in scene order).
    std::vector<PartHit> PickAll(const Scene& scene, const Ray& ray, Vec3 eye);

private:
    std::vector<Vec3> worldVertices;
};

// The Part a press over hits picks: the selected Part when it is among them,
// even behind others, else the nearest; -1 for no hit.
int PreferredPart(const std::vector<PartHit>& hits, int selected);
// The Part an Alt+click over hits selects: the one after the selected Part
// (farther from the eye), round to the nearest after the farthest; the
// nearest when the selected Part is not among them; -1 for no hit. Clicks
// at one place so go through every Part under it.
int NextPartUnder(const std::vector<PartHit>& hits, int selected);

}  // namespace m3d
