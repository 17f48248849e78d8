#include "io/MovieFileNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace m3d {

namespace {

// Where the first %d or %0Nd of pattern stands: its start and length; npos when none.
std::pair<size_t, size_t> NumberField(const std::string& pattern)
{
    for (size_t at = pattern.find('%'); at != std::string::npos; at = pattern.find('%', at + 1)) {
        size_t end = at + 1;
        if (end < pattern.size() && pattern[end] == '0') {
            ++end;
            if (end < pattern.size() && pattern[end] >= '1' && pattern[end] <= '9') ++end;
        }
        if (end < pattern.size() && pattern[end] == 'd') return {at, end + 1 - at};
    }
    return {std::string::npos, 0};
}

// Where the file's own name starts in path (after its last slash).
size_t FileNameStart(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string LowerExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < FileNameStart(path)) return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

std::optional<MovieKind> MovieKindOf(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    if (NumberField(path).first != std::string::npos)
        return extension == ".png" ? std::optional(MovieKind::PngSequence) : std::nullopt;
    if (extension == ".png") return MovieKind::Png;
    if (extension == ".webp") return MovieKind::WebP;
    if (extension == ".gif") return MovieKind::Gif;
    if (extension == ".mp4") return MovieKind::Mp4;
    if (extension == ".webm") return MovieKind::WebM;
    return std::nullopt;
}

bool MovieKindHoldsTransparency(MovieKind kind) { return kind != MovieKind::Mp4 && kind != MovieKind::WebM; }

std::string NoMovieKindMessage(const std::string& path)
{
    return path +
           ": the name says no picture this program writes; give .png, NAME%04d.png for one PNG a frame, .webp, "
           ".gif, .mp4 or .webm";
}

std::string SequenceFileName(const std::string& pattern, int index)
{
    const auto [at, length] = NumberField(pattern);
    if (at == std::string::npos) return pattern;
    std::string number = std::to_string(index);
    const size_t width = length == 4 ? size_t(pattern[at + 2] - '0') : 0;  // "%0Nd"
    if (number.size() < width) number.insert(0, width - number.size(), '0');
    return pattern.substr(0, at) + number + pattern.substr(at + length);
}

std::string WithMovieKind(const std::string& path, MovieKind kind)
{
    std::string stem = path.substr(0, path.size() - LowerExtension(path).size());
    if (const auto [at, length] = NumberField(stem); at != std::string::npos && at >= FileNameStart(stem))
        stem.erase(at, length);
    switch (kind) {
    case MovieKind::Png: return stem + ".png";
    case MovieKind::PngSequence: return stem + "%04d.png";
    case MovieKind::WebP: return stem + ".webp";
    case MovieKind::Gif: return stem + ".gif";
    case MovieKind::Mp4: return stem + ".mp4";
    case MovieKind::WebM: return stem + ".webm";
    }
    return stem;
}

std::vector<std::string> ExistingMovieFiles(const std::string& path, MovieKind kind, int first, int last)
{
    std::vector<std::string> found;
    std::error_code error;
    if (kind != MovieKind::PngSequence) {
        if (std::filesystem::exists(path, error)) found.push_back(path);
        return found;
    }
    for (int frame = first; frame <= last; ++frame)
        if (std::string name = SequenceFileName(path, frame); std::filesystem::exists(name, error))
            found.push_back(std::move(name));
    return found;
}

}  // namespace m3d
