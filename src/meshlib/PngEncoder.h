#pragma once

#include "records/TextureImage.h"

#include <string>

namespace m3d {

class TaskProgress;

// Encodes a non-empty image as an 8-bit RGBA PNG: each row filtered with
// whichever of the five PNG filters leaves the smallest sum of magnitudes on
// a sample of its pixels, the rows deflated by zlib as they are filtered. Reports rows done of the
// image's height to progress (when given) every few rows. Returns false with
// out untouched and error "cancelled" when progress asks to stop, or the
// reason when zlib fails (out of memory).
bool EncodePng(const TextureImage& image, std::string& out, std::string& error, TaskProgress* progress = nullptr);

}  // namespace m3d
