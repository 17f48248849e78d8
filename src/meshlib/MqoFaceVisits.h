#pragma once

#include "meshlib/MqoDocument.h"

#include <cstddef>
#include <limits>

namespace m3d {

// A face outline may pass a vertex twice (a hole joined to the outside by a
// seam), but one that keeps coming back to the same few vertices has no
// outline to speak of, and at two bytes a corner in the file it would cost
// the loader fifty times its size. Such a face is refused rather than
// guessed at.
inline constexpr size_t kNoCrowdedFace = std::numeric_limits<size_t>::max();

// The first face of object whose corners outnumber kMaxVisitsPerVertex times
// its distinct vertices, plus two (so no triangle or quad is ever refused,
// however degenerate); kNoCrowdedFace when there is none. Linear in the
// corners.
size_t FindFaceCirclingFewVertices(const MqoObject& object);

inline constexpr size_t kMaxVisitsPerVertex = 2;

}  // namespace m3d
