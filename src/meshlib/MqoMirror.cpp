#include "meshlib/MqoMirror.h"

#include <cstdint>

namespace m3d {

namespace {

float& Coordinate(Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

void ReflectAcross(MqoObject& object, int axis)
{
    const size_t vertexCount = object.positions.size();
    std::vector<uint32_t> image(vertexCount);
    std::vector<bool> onPlane(vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        Vec3 p = object.positions[i];
        float& c = Coordinate(p, axis);
        onPlane[i] = c == 0.0f;
        if (onPlane[i]) {
            image[i] = static_cast<uint32_t>(i);
        } else {
            c = -c;
            image[i] = static_cast<uint32_t>(object.positions.size());
            object.positions.push_back(p);
        }
    }
    const size_t faceCount = object.FaceCount();
    for (size_t f = 0; f < faceCount; ++f) {
        const uint32_t begin = object.faceStart[f];
        const uint32_t end = object.faceStart[f + 1];
        bool inPlane = true;
        for (uint32_t c = begin; c < end && inPlane; ++c) inPlane = onPlane[object.cornerVertex[c]];
        if (inPlane) continue;
        // Corner 0 stays first so that the reflected face splits along the
        // reflected diagonals of the original.
        const uint32_t n = end - begin;
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t c = begin + (k == 0 ? 0 : n - k);
            const uint32_t vertex = image[object.cornerVertex[c]];
            const float u = object.cornerUv[size_t(c) * 2];
            const float v = object.cornerUv[size_t(c) * 2 + 1];
            object.cornerVertex.push_back(vertex);
            object.cornerUv.push_back(u);
            object.cornerUv.push_back(v);
        }
        object.faceStart.push_back(static_cast<uint32_t>(object.cornerVertex.size()));
        const int32_t material = object.faceMaterial[f];
        object.faceMaterial.push_back(material);
    }
}

}  // namespace

bool ExpandMirror(MqoObject& object)
{
    if (object.mirrorMode == 0 || object.mirrorAxes == 0) return true;
    int axes = 0;
    for (int axis = 0; axis < 3; ++axis)
        if (object.mirrorAxes & (1u << axis)) ++axes;
    const uint64_t growth = uint64_t(1) << axes;
    if (uint64_t(object.cornerVertex.size()) * growth > UINT32_MAX ||
        uint64_t(object.positions.size()) * growth > UINT32_MAX)
        return false;
    for (int axis = 0; axis < 3; ++axis)
        if (object.mirrorAxes & (1u << axis)) ReflectAcross(object, axis);
    return true;
}

}  // namespace m3d
