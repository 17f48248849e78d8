#pragma once

#include "meshlib/ImageLimits.h"
#include "records/MeshRecords.h"

#include <string>
#include <string_view>

// Decodes an image file image chosen by its content: DDS (DdsImage.h) or
// BMP, JPEG, PNG, TGA and the binary netpbm forms; other formats are refused.
// Grey and RGB images get alpha 255. Sizes beyond ImageLimits.h are refused
// from the header, and so are BMP, TGA and netpbm files whose header claims
// more pixels than their bytes can hold, before anything is decoded. Fails
// with a message naming fileName and the reason.
bool DecodeTextureImage(std::string_view bytes, const std::string& fileName, TextureImage& out, std::string& error);

// Reads the texture a model refers to: pathInModel (either separator, any
// letter case, or an absolute path of another machine, which falls back to
// its file name) is looked up in modelFolder with FindFileIgnoringCase, read
// and decoded. false with error set when it cannot be found or decoded.
bool LoadTextureImage(const std::string& modelFolder, const std::string& pathInModel, TextureImage& out,
                      std::string& error);
