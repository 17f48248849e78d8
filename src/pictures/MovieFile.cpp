#include "pictures/MovieFile.h"

#include "pictures/FfmpegMovie.h"
#include "pictures/GifMovie.h"
#include "pictures/PngMovie.h"
#include "pictures/WebPMovie.h"

#include <algorithm>
#include <cctype>

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

std::string LowerExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
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

std::string SequenceFileName(const std::string& pattern, int index)
{
    const auto [at, length] = NumberField(pattern);
    if (at == std::string::npos) return pattern;
    std::string number = std::to_string(index);
    const size_t width = length == 4 ? size_t(pattern[at + 2] - '0') : 0;  // "%0Nd"
    if (number.size() < width) number.insert(0, width - number.size(), '0');
    return pattern.substr(0, at) + number + pattern.substr(at + length);
}

Expected<std::unique_ptr<MovieWriter>> OpenMovieWriter(const std::string& path, const MovieOptions& options)
{
    const std::optional<MovieKind> kind = MovieKindOf(path);
    if (!kind)
        return Outcome::Failure(path +
                                ": the name says no picture this program writes; give .png, NAME%04d.png for one "
                                "PNG a frame, .webp, .gif, .mp4 or .webm");
    switch (*kind) {
    case MovieKind::Png: return std::unique_ptr<MovieWriter>(std::make_unique<PngMovie>(path, false, 0));
    case MovieKind::PngSequence:
        return std::unique_ptr<MovieWriter>(std::make_unique<PngMovie>(path, true, options.firstNumber));
    case MovieKind::WebP: return std::unique_ptr<MovieWriter>(std::make_unique<WebPMovie>(path, options));
    case MovieKind::Gif: return std::unique_ptr<MovieWriter>(std::make_unique<GifMovie>(path, options));
    case MovieKind::Mp4:
    case MovieKind::WebM: return OpenFfmpegMovie(path, *kind == MovieKind::WebM, options);
    }
    return Outcome::Failure(path + ": unknown picture kind");
}

}  // namespace m3d
