#pragma once

#include "io/Outcome.h"
#include "records/TextureImage.h"

#include <string>

namespace m3d {

class TaskProgress;

// Encodes a non-empty image as an 8-bit RGBA PNG: each row filtered with
// whichever of the five PNG filters leaves the smallest sum of magnitudes on
// a sample of its pixels, the rows deflated by zlib as they are filtered. Reports rows done of the
// image's height to progress (when given) every few rows. Returns the file
// image, or fails with "cancelled" when progress asks to stop, or the reason
// when zlib fails (out of memory).
Expected<std::string> EncodePng(const TextureImage& image, TaskProgress* progress = nullptr);

}  // namespace m3d
