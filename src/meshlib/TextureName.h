#pragma once

#include <string>
#include <string_view>

namespace m3d {

// Texture names in the shared list are file names without folder, at most 60
// bytes as Shift-JIS (the size other tools and our project files expect).
constexpr size_t kTextureNameLimit = 60;

// Bytes the name takes in Shift-JIS; a character without a Shift-JIS form
// counts with its UTF-8 bytes.
size_t TextureNameBytes(std::string_view utf8Name);

// The list name for a texture path as a model file gives it (either
// separator): its file name. A longer name is shortened by dropping whole
// characters from the end of its stem until it fits, so the extension (which
// picks the image format when textures are written) survives; the image is
// still read from the original path. "" when the path ends without a usable
// name (see IsValidTextureName).
std::string TextureNameForPath(std::string_view path);

// A name we accept in a .mesh file and may later write a file under: valid
// UTF-8, within the limit, not "." or "..", and without separators, NUL or
// other control characters (so it can never point outside its folder).
bool IsValidTextureName(std::string_view name);

}  // namespace m3d
