#include "meshlib/MeshContent.h"

#include "meshlib/StripTriangles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

int CountFaces(const MeshContent& content)
{
    int faces = 0;
    for (const _MESH_MESHDATA& m : content.subMeshes) faces += CountStripFaces(m);
    return faces;
}

static void FlipWinding(MeshContent& content)
{
    for (_MESH_MESHDATA& m : content.subMeshes) m.windingFlag ^= 1;
}

void ScaleGeometry(MeshContent& content, float sx, float sy, float sz)
{
    const bool uniformPositive = sx == sy && sy == sz && sx > 0;
    for (_MESH_VERTEX& v : content.vertices) {
        v.x *= sx;
        v.y *= sy;
        v.z *= sz;
        if (uniformPositive) continue;
        const Vec3 n = Normalize({v.nx / sx, v.ny / sy, v.nz / sz});
        v.nx = n.x;
        v.ny = n.y;
        v.nz = n.z;
    }
    if ((sx < 0) != ((sy < 0) != (sz < 0))) FlipWinding(content);
}

void MirrorGeometry(MeshContent& content)
{
    for (_MESH_VERTEX& v : content.vertices) {
        v.x = -v.x;
        v.nx = -v.nx;
    }
    FlipWinding(content);
}

bool GeometryBounds(const MeshContent& content, Vec3& low, Vec3& high)
{
    low = high = {};
    if (content.vertices.empty()) return false;
    const _MESH_VERTEX& first = content.vertices[0];
    low = high = {first.x, first.y, first.z};
    for (const _MESH_VERTEX& v : content.vertices) {
        low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
        high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
    }
    return true;
}

}  // namespace m3d
