#pragma once

#include "pictures/MovieFile.h"

#include <string>

struct GifFileType;

namespace m3d {

// An animated GIF, looping: each frame with a palette of its own (median cut
// over its colours), shown for its share of a second at the options' rate in
// hundredths of a second (rounded from the start, so the whole lasts the
// Motion's time); with transparency, clear pixels take a palette entry of
// their own and each frame replaces the one before. Frames are encoded as
// they come.
class GifMovie : public MovieWriter {
public:
    GifMovie(std::string path, const MovieOptions& options) : path(std::move(path)), options(options) {}
    ~GifMovie() override;
    Outcome Add(const TextureImage& frame) override;
    Outcome Finish(FileSetWriter& set) override;

private:
    Outcome Start(int width, int height);
    // The failure of step, with the library's reason; the file is dropped.
    Outcome Failed(const char* step);

    std::string path;
    MovieOptions options;
    GifFileType* gif = nullptr;
    std::string bytes;
    int width = 0, height = 0;
    int frames = 0;
};

}  // namespace m3d
