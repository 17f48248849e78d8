#pragma once

#include "io/FileReading.h"
#include "io/Outcome.h"
#include "meshlib/ImageLimits.h"
#include "records/MeshRecords.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace m3d {

class FolderIndex;

// Memory no decoding is refused for: the caller sets no budget.
constexpr uint64_t kUnlimitedTextureMemory = UINT64_MAX;

// Memory decoding an image of width x height takes at its peak: the
// decoder's buffer and the RGBA image side by side, twice the image's RGBA
// bytes (two and a half for 16-bit netpbm files).
uint64_t TextureDecodingBytes(uint64_t width, uint64_t height, bool sixteenBitNetpbm = false);

// Decodes an image file image chosen by its content: DDS (DdsImage.h) or
// BMP, JPEG, PNG, TGA and the binary netpbm forms; other formats are refused.
// Grey and RGB images get alpha 255. Refused from the header, before
// anything is decoded: sizes beyond ImageLimits.h, BMP, TGA and netpbm files
// whose header claims more pixels than their bytes can hold, and images whose
// decoding needs more than memoryLeft bytes (TextureDecodingBytes). Fails
// with a message naming fileName and the reason.
Outcome DecodeTextureImage(std::string_view bytes, const std::string& fileName, TextureImage& out,
                           uint64_t memoryLeft = kUnlimitedTextureMemory);

// Reads the texture a model refers to: pathInModel (either separator, any
// letter case, or an absolute path of another machine, which falls back to
// its file name) is looked up in modelFolder with FindFileIgnoringCase, read
// (ReadNamedFile: a regular file, in modelFolder unless scope is Anywhere)
// and decoded within memoryLeft. Fails when it cannot
// be found, read or decoded. folderIndex, when given, is the
// listing of modelFolder: a model naming thousands of textures then looks
// each plain file name up without listing the folder again. file, when
// given, receives the path of the file found.
Outcome LoadTextureImage(const std::string& modelFolder, const std::string& pathInModel, TextureImage& out,
                         const FolderIndex* folderIndex = nullptr, uint64_t memoryLeft = kUnlimitedTextureMemory,
                         std::string* file = nullptr, NamedFileScope scope = NamedFileScope::Anywhere);

}  // namespace m3d
