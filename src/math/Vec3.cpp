#include "math/Vec3.h"

#include <cmath>

namespace m3d {

float Length(Vec3 v) { return std::sqrt(Dot(v, v)); }

Vec3 Normalize(Vec3 v)
{
    const float len = Length(v);
    if (len == 0.0f) return v;
    return v * (1.0f / len);
}

}  // namespace m3d
