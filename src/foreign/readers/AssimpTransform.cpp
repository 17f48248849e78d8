#include "foreign/readers/AssimpTransform.h"

#include <algorithm>
#include <cmath>

namespace m3d {

Trs DecomposeTrs(const aiMatrix4x4& m)
{
    Trs trs;
    m.Decompose(trs.scale, trs.rotation, trs.translation);
    const aiQuaternion& q = trs.rotation;
    const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (std::isfinite(length) && length > 0.0f)
        trs.rotation = aiQuaternion(q.w / length, q.x / length, q.y / length, q.z / length);
    else
        trs.rotation = aiQuaternion();
    return trs;
}

// Not assimp's aiMatrix4x4(scaling, rotation, position): in 5.2 that scales
// the rotation's rows, giving S R rather than R S.
aiMatrix4x4 ComposeTrs(const Trs& trs)
{
    const aiMatrix3x3 r = trs.rotation.GetMatrix();
    const ai_real scale[3] = {trs.scale.x, trs.scale.y, trs.scale.z};
    const ai_real translation[3] = {trs.translation.x, trs.translation.y, trs.translation.z};
    aiMatrix4x4 m;
    for (unsigned row = 0; row < 3; ++row) {
        for (unsigned column = 0; column < 3; ++column) m[row][column] = r[row][column] * scale[column];
        m[row][3] = translation[row];
    }
    return m;
}

bool HoldsTransform(const Trs& trs, const aiMatrix4x4& m)
{
    const aiMatrix4x4 back = ComposeTrs(trs);
    float size = 1.0f;
    for (unsigned r = 0; r < 3; ++r)
        for (unsigned c = 0; c < 4; ++c) size = std::max(size, std::fabs(m[r][c]));
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c)
            if (!(std::fabs(back[r][c] - m[r][c]) <= 1e-4f * size)) return false;
    return true;
}

bool IsFinite(const aiMatrix4x4& m)
{
    for (unsigned r = 0; r < 4; ++r)
        for (unsigned c = 0; c < 4; ++c)
            if (!std::isfinite(m[r][c])) return false;
    return true;
}

}  // namespace m3d
