// Encoding a texture as PNG, as a .gltf or .glb export does for every image:
// our row-by-row encoder (zlib, a filter chosen per row from a sample),
// against the image library's own PNG writer in the same run, on a smooth
// picture with a little noise, 4096 x 4096 pixels (64 MB as RGBA).
#include "meshlib/PngEncoder.h"

#include <benchmark/benchmark.h>
#include <stb_image_write.h>

#include <algorithm>
#include <random>
#include <string>

using namespace m3d;

namespace {

TextureImage SmoothNoisyImage(int side)
{
    TextureImage image;
    image.width = image.height = side;
    image.rgba.resize(size_t(side) * size_t(side) * 4);
    std::mt19937 noise(3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &image.rgba[(size_t(y) * size_t(side) + size_t(x)) * 4];
            const int grain = int(noise() % 7) - 3;
            p[0] = uint8_t(std::clamp(x * 255 / side + grain, 0, 255));
            p[1] = uint8_t(std::clamp(y * 255 / side + grain, 0, 255));
            p[2] = uint8_t(std::clamp((x + y) * 127 / side + grain, 0, 255));
            p[3] = 255;
        }
    return image;
}

const TextureImage& Picture()
{
    static const TextureImage image = SmoothNoisyImage(4096);
    return image;
}

void BM_EncodePng(benchmark::State& state)
{
    size_t bytes = 0;
    for (auto _ : state) {
        const Expected<std::string> png = EncodePng(Picture());
        if (!png) state.SkipWithError(png.Message().c_str());
        bytes = png ? png->size() : 0;
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

void BM_EncodePngWithImageLibraryBaseline(benchmark::State& state)
{
    std::string png;
    for (auto _ : state) {
        png.clear();
        const TextureImage& image = Picture();
        if (!stbi_write_png_to_func(AppendBytes, &png, image.width, image.height, 4, image.rgba.data(),
                                    image.width * 4))
            state.SkipWithError("the image library's writer failed");
    }
    state.counters["bytes"] = double(png.size());
}
BENCHMARK(BM_EncodePngWithImageLibraryBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
