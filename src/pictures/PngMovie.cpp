#include "pictures/PngMovie.h"

#include "io/FileSetWriter.h"
#include "meshlib/PngEncoder.h"

namespace m3d {

Outcome PngMovie::Add(const TextureImage& frame)
{
    if (!sequence && !encoded.empty())
        return Outcome::Failure(path + ": a .png holds one frame; choose one frame, or name a sequence with %04d");
    Expected<std::string> png = EncodePng(frame);
    if (!png) return Outcome::Failure(path + ": " + png.Message());
    encoded.push_back(std::move(*png));
    return {};
}

Outcome PngMovie::Finish(FileSetWriter& set)
{
    if (encoded.empty()) return Outcome::Failure(path + ": no frame to write");
    for (size_t i = 0; i < encoded.size(); ++i)
        if (Outcome added = set.Add(sequence ? SequenceFileName(path, firstNumber + int(i)) : path, encoded[i]); !added)
            return added;
    return {};
}

}  // namespace m3d
