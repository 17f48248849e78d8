#include "view/PartPicking.h"

#include "scene/Scene.h"

#include <algorithm>

namespace {

// The point lies on the inner side of the edge start -> end, with up the
// triangle's front normal; on the edge's line it does not.
bool InsideOfEdge(Vec3 start, Vec3 end, Vec3 point, Vec3 up)
{
    const Vec3 side = Normalize(Cross(end - start, point - start));
    if (side.x == 0.0f && side.y == 0.0f && side.z == 0.0f) return false;
    return Dot(side, up) >= 0.0f;
}

}  // namespace

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
                       float& bestDistance)
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
    float bestDistance = kNoHitDistance;
    int picked = -1;
    for (int i = 0; i < scene.PartCount(); ++i) {
        const CMesh* mesh = scene.parts[i]->mesh.get();
        if (!mesh) continue;
        // Each vertex is shared by several strip triangles: transform it once.
        const Matrix4 world = mesh->GetMatrix();
        const int vertexCount = mesh->GetVertexNum();
        worldVertices.resize(static_cast<size_t>(std::max(vertexCount, 0)));
        for (int v = 0; v < vertexCount; ++v) {
            const _MESH_VERTEX* vertex = mesh->GetVertex(v);
            worldVertices[v] = TransformPoint({vertex->x, vertex->y, vertex->z}, world);
        }
        const int meshCount = mesh->GetMeshNum();
        for (int k = 0; k < meshCount; ++k) {
            const _MESH_MESHDATA* strip = mesh->GetMesh(k);
            if (strip && NearestHitInStrip(*strip, worldVertices, ray, eye, bestDistance)) picked = i;
        }
    }
    return picked;
}
