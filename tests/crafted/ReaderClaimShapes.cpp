// Shapes whose headers or chunk lines claim far more than the file holds: the
// readers must refuse them before allocating what was claimed.

#include "crafted/CraftedShape.h"
#include "meshlib/TextureWriter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace m3d {

namespace {

void PutLe(std::string& bytes, size_t at, uint64_t value, int byteCount)
{
    for (int k = 0; k < byteCount; ++k) bytes[at + size_t(k)] = char((value >> (8 * k)) & 0xFF);
}

std::string Le32(uint32_t value)
{
    std::string bytes(4, '\0');
    PutLe(bytes, 0, value, 4);
    return bytes;
}

// One textured triangle: enough for a model to load and to read its texture.
std::string TexturedTriangleMqo(const std::string& imageName)
{
    return "Metasequoia Document\nFormat Text Ver 1.0\n\nMaterial 1 {\n\t\"skin\" col(1 1 1 1) tex(\"" + imageName +
           "\")\n}\nObject \"obj1\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tface 1 {\n"
           "\t\t3 V(0 1 2) M(0) UV(0 0 1 0 0 1)\n\t}\n}\nEof\n";
}

// Writes image beside a model that uses it and returns the model's path.
std::string WriteTexturedModel(const std::string& folder, const std::string& imageName, const std::string& image)
{
    WriteCraftedFile(folder + "/" + imageName, image);
    const std::string path = folder + "/model.mqo";
    WriteCraftedFile(path, TexturedTriangleMqo(imageName));
    return path;
}

// `count` materials of three bytes each, all announced, ahead of one triangle.
std::string ManyMaterialsMqo(size_t count)
{
    std::string text = "Metasequoia Document\nFormat Text Ver 1.0\n\nMaterial " + std::to_string(count) + " {\n";
    text.reserve(text.size() + 3 * count + 200);
    for (size_t i = 0; i < count; ++i) text += "\"\"\n";
    return text +
           "}\nObject \"obj1\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n"
           "\tface 1 {\n\t\t3 V(0 1 2) M(0)\n\t}\n}\nEof\n";
}

// A 128-byte DDS header of a 32-bit RGBA image side x side, without pixels.
std::string DdsHeaderOnly(size_t side)
{
    std::string bytes(128, '\0');
    bytes.replace(0, 4, "DDS ");
    PutLe(bytes, 4, 124, 4);
    PutLe(bytes, 12, side, 4);
    PutLe(bytes, 16, side, 4);
    PutLe(bytes, 76, 32, 4);
    PutLe(bytes, 80, 0x41, 4);  // RGB with alpha
    PutLe(bytes, 88, 32, 4);
    PutLe(bytes, 92, 0x00FF0000, 4);
    PutLe(bytes, 96, 0x0000FF00, 4);
    PutLe(bytes, 100, 0x000000FF, 4);
    PutLe(bytes, 104, 0xFF000000, 4);
    return bytes;
}

// A 24-bit BMP header of side x side followed by 100 bytes of pixels: 154 bytes.
std::string TruncatedBmp(size_t side)
{
    std::string bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe(bytes, 2, 154, 4);
    PutLe(bytes, 10, 54, 4);  // the pixels follow the header
    PutLe(bytes, 14, 40, 4);
    PutLe(bytes, 18, side, 4);
    PutLe(bytes, 22, side, 4);
    PutLe(bytes, 26, 1, 2);
    PutLe(bytes, 28, 24, 2);
    return bytes + std::string(100, '\x40');
}

// A run-length 24-bit TGA header of side x side and one packet cut short: 21 bytes.
std::string TruncatedRleTga(size_t side)
{
    std::string bytes(18, '\0');
    bytes[2] = 10;  // run-length true colour
    PutLe(bytes, 12, side, 2);
    PutLe(bytes, 14, side, 2);
    bytes[16] = 24;
    return bytes + std::string("\xFF\x10\x20", 3);
}

// A small real JPEG whose frame header is made to claim side x side/4 pixels:
// the decoder fills the blocks it cannot find.
std::string JpegSizeClaim(size_t side)
{
    TextureImage image;
    image.width = image.height = 8;
    image.rgba.assign(8 * 8 * 4, 200);
    const Expected<std::string> encoded = EncodeTextureImage(image, ImageFormat::Jpeg);
    if (!encoded) throw std::runtime_error(encoded.Message());
    std::string bytes = *encoded;
    const size_t frame = bytes.find("\xFF\xC0");
    if (frame == std::string::npos) throw std::runtime_error("no baseline frame header in the encoded JPEG");
    const size_t width = std::max<size_t>(side / 4, 1);
    bytes[frame + 5] = char(side >> 8), bytes[frame + 6] = char(side & 0xFF);
    bytes[frame + 7] = char(width >> 8), bytes[frame + 8] = char(width & 0xFF);
    return bytes;
}

// An object whose vertex chunk announces `count` vertices and then ends.
std::string VertexClaimMqo(size_t count)
{
    return "Metasequoia Document\nFormat Text Ver 1.0\n\nObject \"obj1\" {\n\tvertex " + std::to_string(count) + " {\n";
}

// An object with one triangle's vertices whose face chunk announces `count` faces and then ends.
std::string FaceClaimMqo(size_t count)
{
    return "Metasequoia Document\nFormat Text Ver 1.0\n\nObject \"obj1\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n"
           "\t\t0 1 0\n\t}\n\tface " +
           std::to_string(count) + " {\n";
}

// A .mesh header claiming `count` vertices, sub-meshes and textures and 128 materials, and nothing else.
std::string MeshCountClaims(size_t count)
{
    return std::string("M3DMESH\0", 8) + Le32(1) + Le32(uint32_t(count)) + Le32(uint32_t(count)) + Le32(128) +
           Le32(uint32_t(std::min<size_t>(count, 32767)));
}

// A valid .mesh of one triangle naming `count` distinct textures (at most 32767), none of them used.
std::string MeshManyTextures(size_t count)
{
    std::string bytes = std::string("M3DMESH\0", 8) + Le32(1) + Le32(3) + Le32(1) + Le32(1) + Le32(uint32_t(count));
    const float corners[3][8] = {{0, 0, 0, 0, 0, -1, 0, 0}, {1, 0, 0, 0, 0, -1, 1, 0}, {0, 1, 0, 0, 0, -1, 0, 1}};
    for (const auto& corner : corners)
        for (float f : corner) bytes += Le32(std::bit_cast<uint32_t>(f));
    bytes += std::string("\x03\x00\x00\x00", 4) + Le32(0) + std::string("\x00\x00\x01\x00\x02\x00", 6);
    const float material[17] = {1, 1, 1, 1, 0.5f, 0.5f, 0.5f, 1, 0, 0, 0, 1, 0, 0, 0, 1, 5};
    for (float f : material) bytes += Le32(std::bit_cast<uint32_t>(f));
    bytes += std::string("\xFF\xFF", 2);  // no texture
    for (size_t i = 0; i < count; ++i) {
        const std::string name = "t" + std::to_string(i) + ".png";
        bytes += char(name.size()) + name;
    }
    return bytes;
}

// A project of one Part "p" whose Motion count claims `count` Motions, and nothing after it.
std::string ProjectCountClaims(size_t count)
{
    std::string bytes(32, '\0');
    bytes.replace(0, 19, "Marionettica3Dv1.00");
    return bytes + Le32(1) + Le32(2) + std::string("p\0", 2) + Le32(uint32_t(-1)) + Le32(uint32_t(-1)) +
           Le32(uint32_t(count));
}

// A shape written as one file of the given name.
CraftedShape SingleFile(std::string name, std::string description, std::string command, size_t fullSize,
                        std::string fileName, std::string (*content)(size_t))
{
    return {std::move(name), std::move(description), std::move(command), fullSize,
            [fileName, content](const std::string& folder, size_t size) {
                const std::string path = folder + "/" + fileName;
                WriteCraftedFile(path, content(size));
                return path;
            }};
}

// A shape written as an image beside a model that uses it as its texture.
CraftedShape TextureOfModel(std::string name, std::string description, size_t fullSize, std::string imageName,
                            std::string (*content)(size_t))
{
    return {std::move(name), std::move(description), "mesh-info", fullSize,
            [imageName, content](const std::string& folder, size_t size) {
                return WriteTexturedModel(folder, imageName, content(size));
            }};
}

}  // namespace

void AddReaderClaimShapes(std::vector<CraftedShape>& shapes)
{
    shapes.push_back(SingleFile("mqo-many-materials", "a Material chunk of millions of three-byte materials",
                                "mesh-info", 3000001, "materials.mqo", ManyMaterialsMqo));
    shapes.push_back(TextureOfModel("dds-huge-claim", "a 128-byte DDS texture claiming side x side pixels", 16384,
                                    "huge.dds", DdsHeaderOnly));
    shapes.push_back(TextureOfModel("bmp-truncated-8192", "a 154-byte BMP texture claiming side x side pixels", 8192,
                                    "short.bmp", TruncatedBmp));
    shapes.push_back(TextureOfModel("tga-rle-truncated", "a 21-byte run-length TGA texture claiming side x side", 8192,
                                    "short.tga", TruncatedRleTga));
    shapes.push_back(TextureOfModel("jpeg-size-claim", "a few hundred bytes of JPEG claiming side x side/4 pixels",
                                    8192, "short.jpg", JpegSizeClaim));
    shapes.push_back(SingleFile("mqo-vertex-count-claim", "a vertex chunk announcing a count and then ending",
                                "mesh-info", 100000000, "vertices.mqo", VertexClaimMqo));
    shapes.push_back(SingleFile("mqo-face-count-claim", "a face chunk announcing a count and then ending", "mesh-info",
                                100000000, "faces.mqo", FaceClaimMqo));
    shapes.push_back(SingleFile("mesh-count-claims", "a .mesh header with huge counts and no records", "mesh-info",
                                4294967295u, "claims.mesh", MeshCountClaims));
    shapes.push_back(SingleFile("mesh-many-textures", "a one-triangle .mesh naming the most textures it may",
                                "mesh-info", 32767, "textures.mesh", MeshManyTextures));
    shapes.push_back(SingleFile("project-count-claims", "a project whose Motion count is far beyond its bytes", "info",
                                2147483647, "claims.anm", ProjectCountClaims));
}

}  // namespace m3d
