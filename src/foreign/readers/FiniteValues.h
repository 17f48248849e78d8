#pragma once

#include <cmath>
#include <cstddef>

namespace m3d {

// Whether each of the count values from first on is a finite number (no NaN, no
// infinity). first may be null when count is 0.
template <class Real>
bool AllFinite(const Real* first, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (!std::isfinite(first[i])) return false;
    return true;
}

}  // namespace m3d
