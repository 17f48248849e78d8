#include "io/PathLookup.h"

#include "text/ShiftJis.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace m3d {

namespace fs = std::filesystem;

std::string FileNameOf(std::string_view path)
{
    const size_t cut = path.rfind('/');
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string DirectoryOf(std::string_view path)
{
    const size_t cut = path.rfind('/');
    if (cut == std::string_view::npos) return std::string();
    return std::string(path.substr(0, cut == 0 ? 1 : cut));
}

std::string CanonicalPath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path.empty() ? "." : path, ec);
    return ec ? path : canonical.string();
}

bool IsInsideFolder(std::string_view path, std::string_view folder)
{
    if (folder.empty()) return false;
    if (folder.back() == '/') folder.remove_suffix(1);
    return path.size() > folder.size() && path.substr(0, folder.size()) == folder && path[folder.size()] == '/';
}

std::string WindowsFileNameOf(std::string_view path)
{
    const size_t cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

namespace {

std::vector<std::string> SplitComponents(std::string_view path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '/' || c == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

std::optional<fs::path> MatchComponent(const fs::path& dir, const std::string& name)
{
    std::error_code ec;
    fs::path exact = dir / name;
    if (fs::exists(exact, ec)) return exact;
    const std::string wanted = AsciiLower(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (AsciiLower(it->path().filename().string()) == wanted) return it->path();
    }
    return std::nullopt;
}

std::optional<std::string> Resolve(const std::string& directory, const std::vector<std::string>& parts)
{
    if (parts.empty()) return std::nullopt;
    fs::path current = directory.empty() ? fs::path(".") : fs::path(directory);
    for (const std::string& part : parts) {
        if (part == ".") continue;
        auto next = part == ".." ? std::optional<fs::path>(current / "..") : MatchComponent(current, part);
        if (!next) return std::nullopt;
        current = *next;
    }
    std::error_code ec;
    if (!fs::is_regular_file(current, ec)) return std::nullopt;
    return current.string();
}

}  // namespace

std::optional<std::string> FindFileIgnoringCase(const std::string& directory, std::string_view relativePath)
{
    const bool windowsAbsolute = relativePath.size() >= 2 && relativePath[1] == ':';
    const bool absolute = !relativePath.empty() && (relativePath[0] == '/' || relativePath[0] == '\\');
    if (!windowsAbsolute && !absolute) {
        if (auto found = Resolve(directory, SplitComponents(relativePath))) return found;
    } else if (absolute && !relativePath.empty() && relativePath[0] == '/') {
        std::error_code ec;
        if (fs::is_regular_file(fs::path(std::string(relativePath)), ec)) return std::string(relativePath);
    }
    // A path from another machine: fall back to its file name beside the referring file.
    const std::string name = WindowsFileNameOf(relativePath);
    if (name.empty()) return std::nullopt;
    return Resolve(directory, {name});
}

}  // namespace m3d
