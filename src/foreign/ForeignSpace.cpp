#include "foreign/ForeignSpace.h"

#include <utility>

namespace m3d {

namespace {

// Normals for vertices the file gave none: the sum of the (area-weighted)
// normals of the faces that use the vertex, normalised; +Y where that sum
// vanishes.
void FillMissingNormals(LoadedModel& geometry)
{
    auto missing = [](const _MESH_VERTEX& v) { return v.nx == 0.0f && v.ny == 0.0f && v.nz == 0.0f; };
    std::vector<Vec3> sums(geometry.vertices.size());
    bool any = false;
    for (const _MESH_VERTEX& v : geometry.vertices) any = any || missing(v);
    if (!any) return;
    for (size_t t = 0; t + 2 < geometry.indices.size(); t += 3) {
        const uint32_t a = geometry.indices[t], b = geometry.indices[t + 1], c = geometry.indices[t + 2];
        if (a >= sums.size() || b >= sums.size() || c >= sums.size()) continue;
        const _MESH_VERTEX &va = geometry.vertices[a], &vb = geometry.vertices[b], &vc = geometry.vertices[c];
        const Vec3 n = Cross(Vec3{vb.x - va.x, vb.y - va.y, vb.z - va.z}, Vec3{vc.x - va.x, vc.y - va.y, vc.z - va.z});
        for (uint32_t i : {a, b, c}) sums[i] = sums[i] + n;
    }
    for (size_t i = 0; i < geometry.vertices.size(); ++i) {
        _MESH_VERTEX& v = geometry.vertices[i];
        if (!missing(v)) continue;
        const Vec3 n = Length(sums[i]) > 0.0f ? Normalize(sums[i]) : Vec3{0.0f, 1.0f, 0.0f};
        v.nx = n.x;
        v.ny = n.y;
        v.nz = n.z;
    }
}

void MirrorGeometry(LoadedModel& geometry, float scale)
{
    for (_MESH_VERTEX& v : geometry.vertices) {
        v.x *= scale;
        v.y *= scale;
        v.z *= -scale;
        v.nz = -v.nz;
    }
    for (size_t t = 0; t + 2 < geometry.indices.size(); t += 3)
        std::swap(geometry.indices[t + 1], geometry.indices[t + 2]);
}

// One key's group of floats (a value or a tangent) in the editor's space.
void MirrorGroup(ForeignPath path, float* values, float scale)
{
    switch (path) {
    case ForeignPath::Translation:
        values[0] *= scale;
        values[1] *= scale;
        values[2] *= -scale;
        break;
    case ForeignPath::Rotation:
        values[0] = -values[0];
        values[1] = -values[1];
        break;
    case ForeignPath::Scale: break;  // a mirror on both sides leaves an axis-aligned scale as it is
    }
}

}  // namespace

void ToEditorSpace(ForeignModel& model, float scale)
{
    if (IsKnownLengthUnit(model.metresPerUnit)) model.metresPerUnit /= double(scale);
    for (ForeignMesh& mesh : model.meshes) {
        // Normals are filled in the readers' space, where the corners still run counter-clockwise.
        FillMissingNormals(mesh.geometry);
        MirrorGeometry(mesh.geometry, scale);
    }
    for (ForeignNode& node : model.nodes) {
        node.translation = Vec3{node.translation.x, node.translation.y, -node.translation.z} * scale;
        node.rotation = {-node.rotation.x, -node.rotation.y, node.rotation.z, node.rotation.w};
    }
    for (ForeignAnimation& animation : model.animations)
        for (ForeignChannel& channel : animation.channels) {
            const size_t group = static_cast<size_t>(ForeignComponents(channel.path));
            for (size_t i = 0; i + group <= channel.values.size(); i += group)
                MirrorGroup(channel.path, channel.values.data() + i, scale);
        }
}

}  // namespace m3d
