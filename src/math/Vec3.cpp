#include "math/Vec3.h"

#include <cmath>

float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Length(Vec3 v) { return std::sqrt(Dot(v, v)); }

Vec3 Normalize(Vec3 v)
{
    const float len = Length(v);
    if (len == 0.0f) return v;
    return v * (1.0f / len);
}
