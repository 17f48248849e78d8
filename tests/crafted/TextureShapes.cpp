// Shapes that attack texture memory and what is said about textures: PNGs
// that decode to far more than their bytes, many of them beside one model,
// data that inflates past the image, textures missing, damaged or taken from
// outside the model's folder, and a texture large enough that encoding it
// for an export takes seconds.

#include "crafted/CraftedShape.h"
#include "meshlib/PngEncoder.h"

#include <zlib.h>

#include <filesystem>
#include <stdexcept>

namespace m3d {

namespace {

void PutBigEndian(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out += char((value >> shift) & 0xFF);
}

std::string Chunk(const char* type, const std::string& data)
{
    std::string chunk;
    PutBigEndian(chunk, uint32_t(data.size()));
    chunk.append(type, 4);
    chunk += data;
    PutBigEndian(chunk, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(chunk.data() + 4), uInt(chunk.size() - 4))));
    return chunk;
}

// An RGBA PNG of width x height, all of one colour, whose image data inflates
// to `times` the rows its header declares: deflated zeros, so a few hundred
// kilobytes for the largest image we take.
std::string UniformPng(uint32_t width, uint32_t height, uint64_t times = 1)
{
    const uint64_t raw = uint64_t(height) * (1 + uint64_t(width) * 4) * times;
    z_stream stream{};
    if (deflateInit(&stream, 9) != Z_OK) throw std::runtime_error("zlib");
    std::string data;
    std::string zeros(size_t(1) << 20, '\0');
    std::string out(size_t(1) << 16, '\0');
    for (uint64_t left = raw;;) {
        const size_t piece = size_t(std::min<uint64_t>(left, zeros.size()));
        left -= piece;
        stream.next_in = reinterpret_cast<Bytef*>(zeros.data());
        stream.avail_in = uInt(piece);
        int status;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = uInt(out.size());
            status = deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
            data.append(out.data(), out.size() - stream.avail_out);
        } while (stream.avail_out == 0);
        if (left == 0 && status == Z_STREAM_END) break;
    }
    deflateEnd(&stream);
    std::string ihdr;
    PutBigEndian(ihdr, width);
    PutBigEndian(ihdr, height);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", data) + Chunk("IEND", "");
}

std::string WriteModel(const std::string& folder, const std::vector<std::string>& textures)
{
    const std::string path = folder + "/model.mqo";
    WriteCraftedFile(path, TexturedTrianglesMqo(textures));
    return path;
}

// One PNG of side x side/4 pixels (16384 x 4096 at full size) beside a model naming it.
std::string WidePng(const std::string& folder, size_t side)
{
    WriteCraftedFile(folder + "/wide.png", UniformPng(uint32_t(side), uint32_t(std::max<size_t>(side / 4, 1))));
    return WriteModel(folder, {"wide.png"});
}

// Twenty such PNGs beside one model naming them all.
std::string TwentyWidePngs(const std::string& folder, size_t side)
{
    const std::string png = UniformPng(uint32_t(side), uint32_t(std::max<size_t>(side / 4, 1)));
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        names.push_back("wide" + std::to_string(i) + ".png");
        WriteCraftedFile(folder + "/" + names.back(), png);
    }
    return WriteModel(folder, names);
}

// A PNG of side x side whose data inflates to four times its rows.
std::string OverlongPngData(const std::string& folder, size_t side)
{
    WriteCraftedFile(folder + "/long.png", UniformPng(uint32_t(side), uint32_t(side), 4));
    return WriteModel(folder, {"long.png"});
}

// A project naming a missing texture, a damaged one (a cut PNG) and one read
// through "../" and one by an absolute path, both from outside its folder.
std::string TexturesMissingDamagedAndOutside(const std::string& folder, size_t side)
{
    const std::string project = folder + "/project";
    const std::string secret = folder + "/secret";
    std::filesystem::create_directories(project);
    std::filesystem::create_directories(secret);
    std::filesystem::create_directories(folder + "/out");
    const std::string png = UniformPng(uint32_t(side), uint32_t(side));
    WriteCraftedFile(project + "/cut.png", png.substr(0, png.size() / 2));
    WriteCraftedFile(secret + "/photo.png", png);
    WriteCraftedFile(secret + "/other.png", png);
    return WriteOnePartProject(project,
                               TexturedTrianglesMqo({"missing.png", "cut.png", "../secret/photo.png",
                                                     std::filesystem::absolute(secret + "/other.png").string()}));
}

// A project whose texture is a PNG of side x side pixels of one colour.
std::string UniformTextureProject(const std::string& folder, size_t side)
{
    WriteCraftedFile(folder + "/big.png", UniformPng(uint32_t(side), uint32_t(side)));
    return WriteOnePartProject(folder, TexturedTrianglesMqo({"big.png"}));
}

// A project whose texture is side x side pixels of a smooth pattern, to be encoded by an export.
std::string LargeTextureProject(const std::string& folder, size_t side)
{
    TextureImage image;
    image.width = image.height = int(side);
    image.rgba.resize(side * side * 4);
    for (size_t y = 0; y < side; ++y)
        for (size_t x = 0; x < side; ++x) {
            uint8_t* p = &image.rgba[(y * side + x) * 4];
            p[0] = uint8_t(x * 255 / side), p[1] = uint8_t(y * 255 / side), p[2] = uint8_t((x ^ y) & 0xFF), p[3] = 255;
        }
    const Expected<std::string> png = EncodePng(image);
    if (!png) throw std::runtime_error(png.Message());
    WriteCraftedFile(folder + "/large.png", *png);
    std::filesystem::create_directories(folder + "/out");
    return WriteOnePartProject(folder, TexturedTrianglesMqo({"large.png"}));
}

}  // namespace

void AddTextureShapes(std::vector<CraftedShape>& shapes)
{
    shapes.push_back(
        {"png-wide-claim", "one PNG of side x side/4 pixels in a few hundred kilobytes", "mesh-info", 16384, WidePng});
    shapes.push_back({"png-twenty-wide", "twenty such PNGs named by one model", "mesh-info", 16384, TwentyWidePngs});
    shapes.push_back({"png-overlong-data", "a PNG of side x side whose data inflates to four times its rows",
                      "mesh-info", 8192, OverlongPngData});
    shapes.push_back({"png-square-thumbnail", "a project whose texture is one PNG of side x side pixels, drawn small",
                      "thumbnail -s 256", 8000, UniformTextureProject, "thumbnail.png"});
    shapes.push_back({"textures-missing-damaged-outside", "a project naming a missing, a cut and two outside textures",
                      "export-gltf", 64, TexturesMissingDamagedAndOutside, "out/out.gltf"});
    shapes.push_back({"texture-64-mpixel-export", "a project whose texture is side x side pixels, exported",
                      "export-gltf", 8192, LargeTextureProject, "out/out.gltf"});
}

}  // namespace m3d
