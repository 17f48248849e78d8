#pragma once

#include "io/Outcome.h"

#include <cstdint>
#include <functional>
#include <string>

namespace m3d {

// What one thumbnail may take: the desktop runs the thumbnailer unattended on
// every file a folder shows, downloaded ones too.
constexpr uint64_t kThumbnailMemoryBytes = uint64_t(1) << 30;  // address space
constexpr unsigned kThumbnailSeconds = 10;                     // wall clock
constexpr int64_t kMaxThumbnailParts = 2000;
constexpr int64_t kMaxThumbnailTriangles = 2000000;
// The decoded textures with a decoding's peak (CMeshBase::SetTextureBudget):
// an image that would pass it (alone, one of more than 8 megapixels) is left
// out of the picture.
constexpr uint64_t kThumbnailTextureBytes = uint64_t(64) << 20;

// Holds this process to a thumbnail's limits from now on: at most
// kThumbnailMemoryBytes of address space (not in builds with the address
// sanitizer, which reserves terabytes up front; an allocation beyond it
// throws std::bad_alloc); after kThumbnailSeconds it ends with status 1 and a
// line on stderr naming input and the limit; and it reads nothing outside the
// folder input lies in, symbolic links followed (ConfineReadsTo). Threads
// take little address space (two malloc arenas, four rasteriser threads).
void HoldToThumbnailLimits(const std::string& input);

// Runs write, which writes output whole or not at all, with the wall-clock
// limit held off so that it is never cut short; when the limit passed
// meanwhile, output is taken away again and the failure names input and the
// limit.
Outcome WriteWithinThumbnailTime(const std::string& input, const std::string& output,
                                 const std::function<Outcome()>& write);

// The failure of a thumbnail that needed more than kThumbnailMemoryBytes.
Outcome ThumbnailMemoryRefusal(const std::string& input);

}  // namespace m3d
