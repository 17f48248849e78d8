#pragma once

#include <optional>
#include <string>
#include <string_view>

// File names that came from files written on Windows: backslashes separate
// folders and the letter case may differ from the file on disk.

// The last component of a path, taking both '/' and '\\' as separators.
std::string FileNameOf(std::string_view path);
// The folder part of a path (without the trailing separator); "" when there is none.
std::string DirectoryOf(std::string_view path);

// Finds relativePath (either separator) below directory. Each component is
// matched exactly first and then ignoring the case of ASCII letters. Returns
// the path on disk, or nullopt when nothing matches. An absolute Windows path
// ("C:\\...") is tried by its file name alone.
std::optional<std::string> FindFileIgnoringCase(const std::string& directory, std::string_view relativePath);
