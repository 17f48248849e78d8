#include "pictures/GifMovie.h"

#include "io/FileSetWriter.h"
#include "pictures/ColourPalette.h"

#include <gif_lib.h>

#include <cstring>
#include <vector>

namespace m3d {

namespace {

int Append(GifFileType* gif, const GifByteType* data, int count)
{
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(count));
    return count;
}

// Hundredths of a second from the start to frame index, rounded.
int Centiseconds(int index, int framesPerSecond)
{
    return static_cast<int>((int64_t{index} * 100 + framesPerSecond / 2) / framesPerSecond);
}

}  // namespace

GifMovie::~GifMovie()
{
    int error = 0;
    if (gif) EGifCloseFile(gif, &error);
}

Outcome GifMovie::Failed(const char* step)
{
    const char* why = gif ? GifErrorString(gif->Error) : nullptr;
    std::string text = path + ": " + step + (why ? std::string(": ") + why : std::string());
    int error = 0;
    if (gif) EGifCloseFile(gif, &error);
    gif = nullptr;
    return Outcome::Failure(text);
}

Outcome GifMovie::Start(int frameWidth, int frameHeight)
{
    if (frameWidth > 65535 || frameHeight > 65535)
        return Outcome::Failure(path + ": a GIF is at most 65535 pixels a side");
    width = frameWidth;
    height = frameHeight;
    int error = 0;
    gif = EGifOpen(&bytes, Append, &error);
    if (!gif) return Outcome::Failure(path + ": the GIF library does not start");
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, width, height, 8, 0, nullptr) == GIF_ERROR) return Failed("screen");
    // Looping for ever: the application extension every viewer knows.
    unsigned char loop[3] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 3, loop) == GIF_ERROR || EGifPutExtensionTrailer(gif) == GIF_ERROR)
        return Failed("loop");
    return {};
}

Outcome GifMovie::Add(const TextureImage& frame)
{
    if (frames == 0)
        if (Outcome started = Start(frame.width, frame.height); !started) return started;
    if (!gif) return Outcome::Failure(path + ": the GIF was abandoned after a failure");
    if (frame.width != width || frame.height != height) return Outcome::Failure(path + ": the frames differ in size");
    const IndexedImage indexed = QuantizeImage(frame, 256, options.transparent);
    GraphicsControlBlock control;
    control.DisposalMode = options.transparent ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime =
        Centiseconds(frames + 1, options.framesPerSecond) - Centiseconds(frames, options.framesPerSecond);
    control.TransparentColor = indexed.transparentIndex >= 0 ? indexed.transparentIndex : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR) return Failed("frame timing");
    // A colour table holds a power of two entries.
    int entries = 2;
    while (entries < int(indexed.palette.size())) entries *= 2;
    std::vector<GifColorType> colours(size_t(entries), GifColorType{0, 0, 0});
    for (size_t e = 0; e < indexed.palette.size(); ++e)
        colours[e] = {indexed.palette[e][0], indexed.palette[e][1], indexed.palette[e][2]};
    ColorMapObject* map = GifMakeMapObject(entries, colours.data());
    if (!map) return Failed("colour table");
    const bool described = EGifPutImageDesc(gif, 0, 0, width, height, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!described) return Failed("frame");
    std::vector<GifPixelType> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        std::memcpy(row.data(), &indexed.indices[size_t(y) * size_t(width)], size_t(width));
        if (EGifPutLine(gif, row.data(), width) == GIF_ERROR) return Failed("pixels");
    }
    ++frames;
    return {};
}

Outcome GifMovie::Finish(FileSetWriter& set)
{
    if (frames == 0) return Outcome::Failure(path + ": no frame to write");
    if (!gif) return Outcome::Failure(path + ": the GIF was abandoned after a failure");
    int error = 0;
    const int closed = EGifCloseFile(gif, &error);
    gif = nullptr;
    if (closed == GIF_ERROR) {
        const char* why = GifErrorString(error);
        return Outcome::Failure(path + ": end: " + (why ? why : "the GIF library failed"));
    }
    return set.Add(path, bytes);
}

}  // namespace m3d
