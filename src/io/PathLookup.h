#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace m3d {

// Paths given on this system (arguments, dialogs, dropped files) separate
// folders with '/' only: '\\' is an ordinary character of a file name here.

// The last component of a path.
std::string FileNameOf(std::string_view path);
// The folder part of a path, without the trailing '/' ("/" for a file at the
// root); "" when there is none.
std::string DirectoryOf(std::string_view path);

// The absolute form of path, with symbolic links, "." and ".." resolved as
// far as the path exists; path itself when even that fails.
std::string CanonicalPath(const std::string& path);
// Whether path lies in folder or below it; both canonical (CanonicalPath).
bool IsInsideFolder(std::string_view path, std::string_view folder);

// Names read from files made on Windows (.mqo texture names): backslashes
// separate folders too, and the letter case may differ from the file on disk.

// The last component of such a name, taking both '/' and '\\' as separators.
std::string WindowsFileNameOf(std::string_view path);

// Finds relativePath (either separator) below directory. Each component is
// matched exactly first and then ignoring the case of ASCII letters. Returns
// the path on disk, or nullopt when nothing matches. An absolute Windows path
// ("C:\\...") is tried by its file name alone.
std::optional<std::string> FindFileIgnoringCase(const std::string& directory, std::string_view relativePath);

}  // namespace m3d
