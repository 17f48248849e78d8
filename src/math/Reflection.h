#pragma once

#include "math/Matrix4.h"

// The rotation of m reflected through the plane x = 0 (left and right
// exchanged): _12, _13, _21 and _31 negated, every other element, the
// translation row included, unchanged. Its own inverse.
inline Matrix4 ReflectRotationX(Matrix4 m)
{
    m.m[0][1] = -m.m[0][1];
    m.m[0][2] = -m.m[0][2];
    m.m[1][0] = -m.m[1][0];
    m.m[2][0] = -m.m[2][0];
    return m;
}
