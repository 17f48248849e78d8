#pragma once

#include <string>
#include <string_view>

namespace m3d {

// A glTF uri names an embedded resource ("data:...") or a file relative to
// the model's folder, percent-encoded.

bool IsDataUri(std::string_view uri);

// uri with every "%XY" (two hex digits) turned into its byte; a '%' without
// two hex digits after it stays as it is.
std::string DecodeUri(std::string_view uri);

// Whether the decoded relative path stays in the model's folder: not
// absolute, no ".." among its components, not empty.
bool StaysInModelFolder(std::string_view path);

}  // namespace m3d
