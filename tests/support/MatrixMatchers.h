#pragma once

#include "math/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>

namespace m3d {

// Element-wise comparison of two matrices within tolerance.
inline ::testing::AssertionResult MatricesNear(const Matrix4& a, const Matrix4& b, float tolerance)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(std::fabs(a.m[r][c] - b.m[r][c]) <= tolerance))
                return ::testing::AssertionFailure()
                       << "element (" << r + 1 << "," << c + 1 << "): " << a.m[r][c] << " vs " << b.m[r][c];
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult VectorsNear(Vec3 a, Vec3 b, float tolerance)
{
    if (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs (" << b.x << ", " << b.y
                                         << ", " << b.z << ")";
}

}  // namespace m3d
