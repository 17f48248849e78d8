#pragma once

#include "math/Matrix4.h"

namespace m3d {

// Whether no element of a and b differs by more than tolerance times the
// larger of the two elements' sizes, or than tolerance itself for elements
// below 1. NaN is near nothing.
bool NearlyEqualMatrices(const Matrix4& a, const Matrix4& b, float tolerance);

}  // namespace m3d
