#include "view/PartPicking.h"

#include "scene/Scene.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// Widening of the boxes below, relative to the size of the coordinates: far
// more than the rounding of the exact test, so that a box test never turns
// away a triangle the exact test would accept.
constexpr float kBoxMargin = 1e-4f;

// Whether the line of the ray may pass through the box lo ... hi widened by
// margin. Only a quick rejection: true does not mean a hit.
bool LineMayMeetBox(const Ray& ray, Vec3 lo, Vec3 hi, float margin)
{
    const float origin[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
    const float direction[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
    const float low[3] = {lo.x - margin, lo.y - margin, lo.z - margin};
    const float high[3] = {hi.x + margin, hi.y + margin, hi.z + margin};
    float enter = -INFINITY, leave = INFINITY;
    for (int k = 0; k < 3; ++k) {
        if (direction[k] == 0.0f) {
            if (origin[k] < low[k] || origin[k] > high[k]) return false;
            continue;
        }
        float t1 = (low[k] - origin[k]) / direction[k];
        float t2 = (high[k] - origin[k]) / direction[k];
        if (t1 > t2) std::swap(t1, t2);
        enter = std::max(enter, t1);
        leave = std::min(leave, t2);
        if (enter > leave) return false;
    }
    return true;
}

float MaxAbs(Vec3 v) { return std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)}); }

Vec3 Min(Vec3 a, Vec3 b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
Vec3 Max(Vec3 a, Vec3 b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }

// The point lies on the inner side of the edge start -> end, with up the
// triangle's front normal; on the edge's line it does not.
bool InsideOfEdge(Vec3 start, Vec3 end, Vec3 point, Vec3 up)
{
    const Vec3 side = Normalize(Cross(end - start, point - start));
    if (side.x == 0.0f && side.y == 0.0f && side.z == 0.0f) return false;
    return Dot(side, up) >= 0.0f;
}

}  // namespace

float PickMargin(const Ray& ray, Vec3 lo, Vec3 hi)
{
    return kBoxMargin * (1.0f + std::max({MaxAbs(ray.origin), MaxAbs(lo), MaxAbs(hi)}));
}

bool IntersectFacingTriangle(Vec3 a, Vec3 b, Vec3 c, const Ray& ray, Vec3& point)
{
    // n points away from the triangle's front, so a triangle faces the origin
    // when the origin lies on the side opposite to n.
    const Vec3 n = Normalize(Cross(a - b, c - b));
    const float planeOffset = Dot(a, n);
    const float originOffset = Dot(ray.origin, n);
    if (!(originOffset < planeOffset)) return false;
    // The origin is behind the plane as seen along n, so the ray reaches the
    // plane ahead of it only when it runs along n; parallel rays never do.
    const float along = Dot(ray.direction, n);
    if (!(along > 0.0f)) return false;
    const Vec3 hit = ray.origin + ray.direction * ((planeOffset - originOffset) / along);
    const Vec3 front = Normalize(Cross(c - b, a - b));
    if (!InsideOfEdge(a, b, hit, front) || !InsideOfEdge(b, c, hit, front) || !InsideOfEdge(c, a, hit, front))
        return false;
    point = hit;
    return true;
}

bool NearestHitInStrip(const _MESH_MESHDATA& strip, const std::vector<Vec3>& worldVertices, const Ray& ray, Vec3 eye,
                       float& bestDistance, float margin)
{
    const int count = std::min<int>(strip.indexCount, static_cast<int>(strip.indices.size()));
    const size_t vertexCount = worldVertices.size();
    const size_t base = strip.baseVertex;
    bool improved = false;
    for (int m = 0; m + 2 < count; ++m) {
        const size_t i0 = base + strip.indices[m];
        const size_t i1 = base + strip.indices[m + 1];
        const size_t i2 = base + strip.indices[m + 2];
        // Joins between runs of the strip; they still flip the winding.
        if (i0 == i1 || i1 == i2 || i0 == i2) continue;
        if (i0 >= vertexCount || i1 >= vertexCount || i2 >= vertexCount) continue;
        const bool inOrder = (m % 2 == 1) == (strip.windingFlag != 0);
        const Vec3 a = worldVertices[inOrder ? i0 : i2];
        const Vec3 b = worldVertices[i1];
        const Vec3 c = worldVertices[inOrder ? i2 : i0];
        // Nearly every triangle lies away from the ray; the box test turns
        // those away before the exact test.
        if (!LineMayMeetBox(ray, Min(a, Min(b, c)), Max(a, Max(b, c)), margin)) continue;
        Vec3 hit;
        if (!IntersectFacingTriangle(a, b, c, ray, hit)) continue;
        const float distance = Length(hit - eye);
        if (distance < bestDistance) {
            bestDistance = distance;
            improved = true;
        }
    }
    return improved;
}

int PartPicker::Pick(const Scene& scene, const Ray& ray, Vec3 eye)
{
    const std::vector<PartHit> hits = PickAll(scene, ray, eye);
    return hits.empty() ? -1 : hits.front().part;
}

std::vector<PartHit> PartPicker::PickAll(const Scene& scene, const Ray& ray, Vec3 eye)
{
    std::vector<PartHit> hits;
    for (int i = 0; i < scene.PartCount(); ++i) {
        const Part& part = *scene.Parts()[i];
        const CMesh* mesh = part.mesh.get();
        if (!mesh || !scene.Tree().IsChecked(part.treeItem)) continue;
        // Each vertex is shared by several strip triangles: transform it once.
        const Matrix4 world = mesh->GetMatrix();
        const int vertexCount = mesh->GetVertexNum();
        if (vertexCount <= 0) continue;
        worldVertices.resize(static_cast<size_t>(vertexCount));
        Vec3 lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
        for (int v = 0; v < vertexCount; ++v) {
            const _MESH_VERTEX* vertex = mesh->GetVertex(v);
            const Vec3 p = TransformPoint({vertex->x, vertex->y, vertex->z}, world);
            worldVertices[v] = p;
            lo = Min(lo, p);
            hi = Max(hi, p);
        }
        const float margin = PickMargin(ray, lo, hi);
        if (!LineMayMeetBox(ray, lo, hi, margin)) continue;
        float nearest = kNoHitDistance;
        bool hit = false;
        const int meshCount = mesh->GetMeshNum();
        for (int k = 0; k < meshCount; ++k) {
            const _MESH_MESHDATA* strip = mesh->GetMesh(k);
            if (strip && NearestHitInStrip(*strip, worldVertices, ray, eye, nearest, margin)) hit = true;
        }
        if (hit) hits.push_back({i, nearest});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const PartHit& a, const PartHit& b) { return a.distance < b.distance; });
    return hits;
}

int PreferredPart(const std::vector<PartHit>& hits, int selected)
{
    for (const PartHit& hit : hits)
        if (hit.part == selected) return selected;
    return hits.empty() ? -1 : hits.front().part;
}

int NextPartUnder(const std::vector<PartHit>& hits, int selected)
{
    for (size_t k = 0; k < hits.size(); ++k)
        if (hits[k].part == selected) return hits[(k + 1) % hits.size()].part;
    return hits.empty() ? -1 : hits.front().part;
}

}  // namespace m3d
