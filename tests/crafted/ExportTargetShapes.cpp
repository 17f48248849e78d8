// Shapes that lay traps where an export writes the files beside a .gltf:
// a read-only file of the same name that no export wrote, a folder in the way,
// a name the file system cannot hold, and a backslash in the output's name.

#include "crafted/CraftedShape.h"
#include "meshlib/TextureWriter.h"

#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

namespace m3d {

namespace {

// A textured one-Part project in folder and an empty folder "out" beside it.
std::string TexturedProject(const std::string& folder)
{
    TextureImage image;
    image.width = image.height = 4;
    image.rgba.assign(64, 120);
    const Expected<std::string> png = EncodeTextureImage(image, ImageFormat::Png);
    if (!png) throw std::runtime_error(png.Message());
    WriteCraftedFile(folder + "/skin.png", *png);
    std::filesystem::create_directories(folder + "/out");
    return WriteOnePartProject(folder, TexturedTrianglesMqo({"skin.png"}));
}

CraftedShape Trap(std::string name, std::string description, std::string output,
                  void (*lay)(const std::string& outFolder))
{
    return {std::move(name),
            std::move(description),
            "export-gltf",
            1,
            [lay](const std::string& folder, size_t) {
                const std::string project = TexturedProject(folder);
                lay(folder + "/out");
                return project;
            },
            std::move(output)};
}

}  // namespace

void AddExportTargetShapes(std::vector<CraftedShape>& shapes)
{
    shapes.push_back(Trap("gltf-side-read-only", "a read-only out_skin.png that no export wrote", "out/out.gltf",
                          [](const std::string& out) {
                              WriteCraftedFile(out + "/out_skin.png", "someone's picture");
                              chmod((out + "/out_skin.png").c_str(), 0444);
                          }));
    shapes.push_back(Trap("gltf-side-folder", "a folder where the .bin goes", "out/out.gltf",
                          [](const std::string& out) { std::filesystem::create_directories(out + "/out.bin"); }));
    shapes.push_back(Trap("gltf-long-name", "an output name that fits but its image's name does not",
                          "out/" + std::string(250, 'n') + ".gltf", [](const std::string&) {}));
    shapes.push_back(Trap("gltf-backslash", "a backslash in the output's name, and a file where a split would lead",
                          "out/w1/a\\b.gltf", [](const std::string& out) {
                              std::filesystem::create_directories(out + "/w1/a");
                              WriteCraftedFile(out + "/w1/a/b.bin", "not ours");
                          }));
}

}  // namespace m3d
