#pragma once

#include <assimp/anim.h>

#include <algorithm>

namespace m3d {

// The local transform an assimp channel gives at ticks, blending between its
// keys as glTF's LINEAR does (positions linearly, rotations by assimp's slerp
// along the shorter arc) and holding the first and last keys outside them.
inline aiMatrix4x4 AssimpLocalAt(const aiNodeAnim& channel, double ticks)
{
    auto bracket = [ticks](auto* keys, unsigned count, auto blend) {
        unsigned k = 0;
        while (k + 1 < count && keys[k + 1].mTime <= ticks) ++k;
        if (k + 1 >= count || ticks <= keys[k].mTime) return keys[std::min(k, count - 1)].mValue;
        const double t = (ticks - keys[k].mTime) / (keys[k + 1].mTime - keys[k].mTime);
        return blend(keys[k].mValue, keys[k + 1].mValue, static_cast<float>(t));
    };
    const aiVector3D position = bracket(channel.mPositionKeys, channel.mNumPositionKeys,
                                        [](aiVector3D a, aiVector3D b, float t) { return a + (b - a) * t; });
    const aiQuaternion rotation =
        bracket(channel.mRotationKeys, channel.mNumRotationKeys, [](aiQuaternion a, aiQuaternion b, float t) {
            aiQuaternion out;
            aiQuaternion::Interpolate(out, a, b, t);
            return out;
        });
    aiMatrix4x4 local(rotation.GetMatrix());
    local.a4 = position.x;
    local.b4 = position.y;
    local.c4 = position.z;
    return local;
}

}  // namespace m3d
