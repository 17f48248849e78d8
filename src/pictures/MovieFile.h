#pragma once

#include "io/MovieFileNames.h"
#include "io/Outcome.h"
#include "records/TextureImage.h"

#include <memory>
#include <optional>
#include <string>

namespace m3d {

class FileSetWriter;

struct MovieOptions {
    int framesPerSecond = 30;  // 1 ... 120
    // WebP: lossless when unset; else lossy at this quality (0 ... 100).
    std::optional<int> quality;
    // Frames carry transparency (a transparent background): kept in PNG,
    // WebP and GIF (one palette entry); videos have none.
    bool transparent = false;
    // The number in the name of a sequence's first PNG (the Motion's frame).
    int firstNumber = 0;
};

// Takes the frames of a picture one after another (all of one size) and
// puts what it made into a file set: nothing is written in place before the
// set is committed, so a failure or a cancel leaves no half-written output.
class MovieWriter {
public:
    virtual ~MovieWriter() = default;
    // A frame, width x height as the first one; a failure names the output.
    virtual Outcome Add(const TextureImage& frame) = 0;
    // Adds the output file (or files) to set, after the last frame.
    virtual Outcome Finish(FileSetWriter& set) = 0;
};

// The size a picture of kind asked for at width x height is drawn at: a
// video keeps its colours at half resolution and needs even sides, so an odd
// side grows by one pixel; other kinds keep the size asked for.
void FitMovieFrameSize(MovieKind kind, int& width, int& height);

// A writer of the kind path names, for path; fails naming path when the
// kind is unknown or (videos) the ffmpeg program cannot be started.
Expected<std::unique_ptr<MovieWriter>> OpenMovieWriter(const std::string& path, const MovieOptions& options);

}  // namespace m3d
