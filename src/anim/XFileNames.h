#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// Names written into a DirectX text file. The file is UTF-8; an identifier may
// only hold letters, digits, '_' and '-' of ASCII (any other ASCII character
// would end the token or open a block), so every other ASCII byte becomes '_'.
// Bytes of multibyte UTF-8 characters are kept.
std::string SanitizeXFileName(std::string_view utf8);

// Sanitised names for a list of Parts; a name equal to an earlier one gets
// "_2", "_3", ... so that every animation finds its own frame.
std::vector<std::string> UniqueXFileNames(const std::vector<std::string>& utf8Names);

// A texture file name for the quoted TextureFilename string: lower-cased ASCII
// letters (textures are saved beside the file under that name), with '"',
// '\\' and control characters replaced by '_'.
std::string XFileTextureName(std::string_view utf8FileName);

}  // namespace m3d
