#pragma once

#include "io/AtomicFile.h"
#include "meshlib/TextureWriter.h"

#include <string>

namespace m3d {

// Writes image to path as an image file of format. false with error naming
// the path when it cannot be encoded or written.
inline bool SaveTextureImage(const TextureImage& image, const std::string& path, ImageFormat format, std::string& error)
{
    std::string bytes;
    if (!EncodeTextureImage(image, format, bytes, error)) {
        error = path + ": " + error;
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace m3d
