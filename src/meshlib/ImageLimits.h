#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace m3d {

// The largest texture we decode, whatever its format: at most kMaxTextureSide
// pixels a side and kMaxTexturePixels in all (256 MB as RGBA).
constexpr uint64_t kMaxTextureSide = 16384;
constexpr size_t kMaxTexturePixels = size_t(1) << 26;

// Why an image of width x height is not decoded: "image size W x H not
// supported (...)" when a side is zero or either limit is passed; nullopt when
// the size is fine.
std::optional<std::string> ImageSizeRefusal(uint64_t width, uint64_t height);

}  // namespace m3d
