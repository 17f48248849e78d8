#pragma once

#include <string>
#include <string_view>

namespace m3d {

// text from a file with its control characters made spaces, so that a
// message quoting it stays one line.
std::string Shown(std::string_view text);

}  // namespace m3d
