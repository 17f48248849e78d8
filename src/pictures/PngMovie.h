#pragma once

#include "pictures/MovieFile.h"

#include <string>
#include <vector>

namespace m3d {

// One PNG (exactly one frame), or one PNG a frame named by a %d pattern.
class PngMovie : public MovieWriter {
public:
    // firstNumber: the number of the first frame's file in a sequence.
    PngMovie(std::string path, bool sequence, int firstNumber)
        : path(std::move(path)), sequence(sequence), firstNumber(firstNumber)
    {
    }
    Outcome Add(const TextureImage& frame) override;
    Outcome Finish(FileSetWriter& set) override;

private:
    std::string path;
    bool sequence;
    int firstNumber;
    std::vector<std::string> encoded;  // the PNG of each frame, in order
};

}  // namespace m3d
