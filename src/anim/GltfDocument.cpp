#include "anim/GltfDocument.h"

#include "anim/GltfAssembly.h"
#include "scene/Scene.h"
#include "scene/TextureOutput.h"

namespace m3d {

int AppendTo(GltfAssembly& assembly, const char* name, nlohmann::json value)
{
    nlohmann::json& list = assembly.root[name];
    list.push_back(std::move(value));
    return static_cast<int>(list.size()) - 1;
}

std::string GltfUri(const std::string& fileName)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri;
    for (const char c : fileName) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[u >> 4];
            uri += kHex[u & 15];
        }
    }
    return uri;
}

static int CountOf(const nlohmann::json& root, const char* name)
{
    return root.contains(name) ? static_cast<int>(root[name].size()) : 0;
}

GltfDocument BuildGltfDocument(Scene& scene, GltfLayout layout, const std::string& fileStem, int framesPerSecond,
                               TaskProgress* progress, const GltfChoices& choices)
{
    GltfAssembly assembly;
    assembly.choices = choices;
    assembly.layout = layout;
    assembly.fileStem = fileStem;
    uint64_t rows = 0;
    for (const _MESHBASE_TEXTURE* texture : PartTextures(scene)) rows += uint64_t(texture->image.height);
    ProgressSteps steps(progress, rows);
    assembly.progress = &steps;
    assembly.root["asset"] = {{"version", "2.0"}, {"generator", "Marionettica3D"}};
    const std::vector<int> nodeOfPart = AddGltfNodes(scene, assembly);
    GltfDocument document;
    if (steps.Cancelled()) {
        document.cancelled = true;
        return document;
    }
    AddGltfAnimations(scene, nodeOfPart, framesPerSecond, assembly);

    document.binary = assembly.buffer.Bytes();
    document.binary.append((4 - document.binary.size() % 4) % 4, '\0');
    if (!document.binary.empty()) {
        nlohmann::json buffer = {{"byteLength", document.binary.size()}};
        if (layout == GltfLayout::Separate) {
            GltfSideFile bin{fileStem + ".bin", document.binary};
            buffer["uri"] = GltfUri(bin.name);
            document.sideFiles.push_back(std::move(bin));
        }
        assembly.root["buffers"] = nlohmann::json::array({std::move(buffer)});
        assembly.root["bufferViews"] = std::move(assembly.buffer.Views());
        assembly.root["accessors"] = std::move(assembly.buffer.Accessors());
    }
    for (GltfSideFile& image : assembly.images) document.sideFiles.push_back(std::move(image));
    document.imageOrigins = std::move(assembly.imageOrigins);
    document.texturesWithoutImage = std::move(assembly.texturesWithoutImage);
    document.meshCount = CountOf(assembly.root, "meshes");
    document.materialCount = CountOf(assembly.root, "materials");
    document.imageCount = CountOf(assembly.root, "images");
    document.animationCount = CountOf(assembly.root, "animations");
    document.baked = assembly.baked;
    // Names come from files: a byte that is not UTF-8 becomes U+FFFD rather than failing the export.
    document.json = assembly.root.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return document;
}

}  // namespace m3d
