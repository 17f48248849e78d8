#include "math/NearlyEqualMatrices.h"

#include <algorithm>
#include <cmath>

namespace m3d {

bool NearlyEqualMatrices(const Matrix4& a, const Matrix4& b, float tolerance)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const float size = std::max({1.0f, std::fabs(a.m[r][c]), std::fabs(b.m[r][c])});
            if (!(std::fabs(a.m[r][c] - b.m[r][c]) <= tolerance * size)) return false;
        }
    return true;
}

}  // namespace m3d
