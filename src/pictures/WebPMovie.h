#pragma once

#include "pictures/MovieFile.h"

#include <string>

struct WebPAnimEncoder;

namespace m3d {

// An animated WebP, looping, each frame shown for its share of a second at
// the options' rate; lossless unless a quality is given. Encoded frame by
// frame (only what changed from the frame before is stored).
class WebPMovie : public MovieWriter {
public:
    WebPMovie(std::string path, const MovieOptions& options);
    ~WebPMovie() override;
    Outcome Add(const TextureImage& frame) override;
    Outcome Finish(FileSetWriter& set) override;

private:
    int Timestamp(int frameIndex) const;

    std::string path;
    MovieOptions options;
    WebPAnimEncoder* encoder = nullptr;
    int width = 0, height = 0;
    int frames = 0;
};

}  // namespace m3d
