#include "pictures/WebPMovie.h"

#include "io/FileSetWriter.h"

#include <webp/encode.h>
#include <webp/mux.h>

namespace m3d {

WebPMovie::WebPMovie(std::string path, const MovieOptions& options) : path(std::move(path)), options(options) {}

WebPMovie::~WebPMovie()
{
    if (encoder) WebPAnimEncoderDelete(encoder);
}

int WebPMovie::Timestamp(int frameIndex) const
{
    // Rounded from the start each time, so that the delays add up to the
    // Motion's time without drifting.
    return static_cast<int>((int64_t{frameIndex} * 1000 + options.framesPerSecond / 2) / options.framesPerSecond);
}

Outcome WebPMovie::Add(const TextureImage& frame)
{
    if (!encoder) {
        WebPAnimEncoderOptions anim;
        if (!WebPAnimEncoderOptionsInit(&anim)) return Outcome::Failure(path + ": the WebP library does not start");
        anim.anim_params.loop_count = 0;  // for ever
        // Every frame may be a difference from the last: no key frames forced.
        anim.kmin = 0;
        anim.kmax = 0;
        width = frame.width;
        height = frame.height;
        encoder = WebPAnimEncoderNew(width, height, &anim);
        if (!encoder) return Outcome::Failure(path + ": the WebP encoder could not be made (out of memory?)");
    }
    if (frame.width != width || frame.height != height) return Outcome::Failure(path + ": the frames differ in size");
    WebPConfig config;
    if (!WebPConfigInit(&config)) return Outcome::Failure(path + ": the WebP library does not start");
    if (options.quality) {
        config.lossless = 0;
        config.quality = static_cast<float>(*options.quality);
    } else {
        // Lossless at its quickest: the frames are large areas of flat colour.
        config.lossless = 1;
        config.quality = 0;
        config.method = 0;
    }
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) return Outcome::Failure(path + ": the WebP library does not start");
    picture.use_argb = 1;
    picture.width = width;
    picture.height = height;
    const bool imported = WebPPictureImportRGBA(&picture, frame.rgba.data(), width * 4);
    const bool added = imported && WebPAnimEncoderAdd(encoder, &picture, Timestamp(frames), &config);
    const std::string why = imported ? WebPAnimEncoderGetError(encoder) : "out of memory";
    WebPPictureFree(&picture);
    if (!added) return Outcome::Failure(path + ": frame " + std::to_string(frames) + " could not be encoded: " + why);
    ++frames;
    return {};
}

Outcome WebPMovie::Finish(FileSetWriter& set)
{
    if (!encoder || frames == 0) return Outcome::Failure(path + ": no frame to write");
    // The last frame lasts as long as the others.
    if (!WebPAnimEncoderAdd(encoder, nullptr, Timestamp(frames), nullptr))
        return Outcome::Failure(path + ": " + WebPAnimEncoderGetError(encoder));
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(encoder, &data))
        return Outcome::Failure(path + ": " + WebPAnimEncoderGetError(encoder));
    Outcome added = set.Add(path, std::string_view(reinterpret_cast<const char*>(data.bytes), data.size));
    WebPDataClear(&data);
    return added;
}

}  // namespace m3d
