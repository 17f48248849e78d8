#include "anim/GltfAssembly.h"

#include "anim/XFileContent.h"
#include "io/PathLookup.h"
#include "meshlib/TextureWriter.h"
#include "scene/Scene.h"

#include <algorithm>

namespace m3d {

namespace {

double Unit(float v) { return std::clamp(static_cast<double>(v), 0.0, 1.0); }

// The side file name of a texture: the export's name, "_" and the texture's
// name without folder and extension, unique among the export's images.
std::string ImageFileName(const GltfAssembly& assembly, const std::string& textureName)
{
    std::string stem = FileNameOf(textureName);
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos && dot > 0) stem.resize(dot);
    for (char& c : stem)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '_';
    const std::string base = assembly.fileStem + "_" + stem;
    std::string name = base + ".png";
    for (int n = 2; std::any_of(assembly.images.begin(), assembly.images.end(),
                                [&name](const GltfSideFile& f) { return f.name == name; });
         ++n)
        name = base + "_" + std::to_string(n) + ".png";
    return name;
}

// The glTF texture of mesh manager texture index, added on first use; -1 when
// it has no image or the encoding of a .glb's image was cancelled.
int TextureOf(Scene& scene, int index, GltfAssembly& assembly)
{
    if (const auto found = assembly.textureOf.find(index); found != assembly.textureOf.end()) return found->second;
    int texture = -1;
    const _MESHBASE_TEXTURE* source = scene.MeshBase().GetTexture(index);
    if (source && source->image.width > 0) {
        nlohmann::json image = {{"name", source->name}};
        GltfImageOrigin origin{std::string(), index};
        bool stored = true;
        if (assembly.layout == GltfLayout::Binary) {
            assembly.progress->StartAt(assembly.rowsEncoded);
            const Expected<std::string> png = EncodeTextureImage(source->image, ImageFormat::Png, assembly.progress);
            assembly.rowsEncoded += uint64_t(source->image.height);
            stored = png.Ok();
            if (stored) image["bufferView"] = assembly.buffer.AddView(png->data(), png->size(), GltfBuffer::kNoTarget);
            image["mimeType"] = "image/png";
        } else {
            GltfSideFile file{ImageFileName(assembly, source->name), std::string(), &source->image};
            image["uri"] = GltfUri(file.name);
            origin.file = file.name;
            assembly.images.push_back(std::move(file));
        }
        if (stored) {
            const int imageIndex = AppendTo(assembly, "images", std::move(image));
            assembly.imageOrigins.push_back(std::move(origin));
            if (!assembly.root.contains("samplers"))
                // Linear filtering with mipmaps; wrapping stays glTF's default (repeat).
                AppendTo(assembly, "samplers", {{"magFilter", 9729}, {"minFilter", 9987}});
            texture = AppendTo(assembly, "textures", {{"source", imageIndex}, {"sampler", 0}});
        }
    } else if (source) {
        assembly.texturesWithoutImage.push_back(index);
    }
    assembly.textureOf[index] = texture;
    return texture;
}

}  // namespace

std::vector<int> AddGltfMaterials(Scene& scene, const XMeshData& mesh, GltfAssembly& assembly)
{
    std::vector<int> indices;
    for (size_t k = 0; k < mesh.materials.size(); ++k) {
        const _MESH_MATERIAL& m = mesh.materials[k];
        // Lit like the editor's views: a matte surface of the diffuse colour.
        nlohmann::json pbr = {
            {"baseColorFactor", {Unit(m.diffuse.r), Unit(m.diffuse.g), Unit(m.diffuse.b), Unit(m.diffuse.a)}},
            {"metallicFactor", 0.0},
            {"roughnessFactor", 1.0}};
        const int textureIndex = k < mesh.textureIndices.size() ? mesh.textureIndices[k] : -1;
        if (textureIndex >= 0)
            if (const int texture = TextureOf(scene, textureIndex, assembly); texture >= 0)
                pbr["baseColorTexture"] = {{"index", texture}};
        nlohmann::json material = {{"pbrMetallicRoughness", std::move(pbr)}};
        if (m.emissive.r > 0 || m.emissive.g > 0 || m.emissive.b > 0)
            material["emissiveFactor"] = {Unit(m.emissive.r), Unit(m.emissive.g), Unit(m.emissive.b)};
        if (m.diffuse.a < 1.0f) material["alphaMode"] = "BLEND";
        indices.push_back(AppendTo(assembly, "materials", std::move(material)));
    }
    return indices;
}

}  // namespace m3d
