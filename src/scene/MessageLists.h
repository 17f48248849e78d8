#pragma once

#include <string>
#include <vector>

namespace m3d {

// Messages about many files name this many and count the rest, so that they
// fit on the screen whatever the number.
constexpr size_t kNamedInMessage = 5;

// The file names of paths as "「a.anm」「b.mesh」", the first kNamedInMessage
// of them, then "ほかN個のファイル".
std::string QuotedFileNames(const std::vector<std::string>& paths);

// The first kNamedInMessage lines, one a line, then "ほかN個" on a line of
// its own; "" for none.
std::string FirstLines(const std::vector<std::string>& lines);

}  // namespace m3d
