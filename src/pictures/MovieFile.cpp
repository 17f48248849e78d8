#include "pictures/MovieFile.h"

#include "pictures/FfmpegMovie.h"
#include "pictures/GifMovie.h"
#include "pictures/PngMovie.h"
#include "pictures/WebPMovie.h"

namespace m3d {

void FitMovieFrameSize(MovieKind kind, int& width, int& height)
{
    if (kind != MovieKind::Mp4 && kind != MovieKind::WebM) return;
    width += width % 2;
    height += height % 2;
}

Expected<std::unique_ptr<MovieWriter>> OpenMovieWriter(const std::string& path, const MovieOptions& options)
{
    const std::optional<MovieKind> kind = MovieKindOf(path);
    if (!kind) return Outcome::Failure(NoMovieKindMessage(path));
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
