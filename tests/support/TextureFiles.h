#pragma once

#include "io/AtomicFile.h"
#include "meshlib/TextureWriter.h"

#include <string>

namespace m3d {

// Writes image to path as an image file of format. The failure names the
// path when it cannot be encoded or written.
inline Outcome SaveTextureImage(const TextureImage& image, const std::string& path, ImageFormat format)
{
    const Expected<std::string> bytes = EncodeTextureImage(image, format);
    if (!bytes) return Outcome::Failure(path + ": " + bytes.Message());
    return WriteFileAtomically(path, *bytes);
}

}  // namespace m3d
