#include "foreign/readers/GltfImport.h"
#include "foreign/readers/GltfUri.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// The editor lights a material with ambient and specular colours that glTF
// does not have. Ambient is three quarters of the diffuse colour, as in the
// editor's own untouched materials (ambient 0.6, diffuse 0.8 of one colour);
// no specular highlight, as the exporter writes every material matte
// (metallic 0, roughness 1); the power of the editor's own default.
constexpr float kAmbientOfDiffuse = 0.75f;
constexpr float kPower = 5.0f;

bool AllFinite(const std::vector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

float Unit(double v) { return static_cast<float>(std::clamp(v, 0.0, 1.0)); }

ImportedMaterial DefaultMaterial()
{
    ImportedMaterial imported;
    ModelMaterial& m = imported.material;
    m.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m.ambient = {kAmbientOfDiffuse, kAmbientOfDiffuse, kAmbientOfDiffuse, 1.0f};
    m.specular = {0.0f, 0.0f, 0.0f, 1.0f};
    m.emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    m.power = kPower;
    return imported;
}

// ".png" or ".jpg" from the bytes (or the declared type); "" when neither.
std::string ImageExtension(const tinygltf::Image& image)
{
    const std::vector<unsigned char>& b = image.image;
    if ((b.size() >= 4 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') || image.mimeType == "image/png")
        return ".png";
    if ((b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8) || image.mimeType == "image/jpeg") return ".jpg";
    return "";
}

// out.images index of glTF image index's embedded bytes, added on first use.
int32_t EmbeddedImage(GltfImport& import, int index)
{
    import.imageOf.resize(import.model.images.size(), -1);
    int32_t& slot = import.imageOf[size_t(index)];
    if (slot < 0) {
        const tinygltf::Image& image = import.model.images[size_t(index)];
        slot = static_cast<int32_t>(import.out.images.size());
        import.out.images.push_back({import.fileStem + "_image" + std::to_string(index) + ImageExtension(image),
                                     std::string(image.image.begin(), image.image.end())});
    }
    return slot;
}

// The base colour texture of material `label` into imported.
Outcome ImportTexture(GltfImport& import, const std::string& label, const tinygltf::TextureInfo& info,
                      ImportedMaterial& imported)
{
    const tinygltf::Model& model = import.model;
    if (info.index < 0 || size_t(info.index) >= model.textures.size())
        return Outcome::Failure(label + ": texture " + std::to_string(info.index) + " does not exist");
    const int source = model.textures[size_t(info.index)].source;
    if (source < 0) {
        Note(import, "texture of " + label + " (its image is only in an extension)");
        return Outcome();
    }
    if (size_t(source) >= model.images.size())
        return Outcome::Failure(label + ": image " + std::to_string(source) + " does not exist");
    if (info.texCoord != 0)
        Note(import, "texture coordinates " + std::to_string(info.texCoord) + " of " + label + " (set 0 used)");
    const tinygltf::Image& image = model.images[size_t(source)];
    if (!image.uri.empty())
        imported.material.texturePath = DecodeUri(image.uri);
    else
        imported.image = EmbeddedImage(import, source);
    return Outcome();
}

}  // namespace

Outcome ImportGltfMaterial(GltfImport& import, int index, ImportedMaterial& out)
{
    if (const auto known = import.materials.find(index); known != import.materials.end()) {
        out = known->second;
        return Outcome();
    }
    out = DefaultMaterial();
    if (index >= 0) {
        if (size_t(index) >= import.model.materials.size())
            return Outcome::Failure("material " + std::to_string(index) + " does not exist");
        const tinygltf::Material& source = import.model.materials[size_t(index)];
        const std::string label = Label("material", size_t(index), source.name);
        const tinygltf::PbrMetallicRoughness& pbr = source.pbrMetallicRoughness;
        const std::vector<double>& base = pbr.baseColorFactor;
        const std::vector<double>& emissive = source.emissiveFactor;
        if (base.size() != 4 || !AllFinite(base))
            return Outcome::Failure(label + ": its baseColorFactor is not four finite numbers");
        if ((!emissive.empty() && emissive.size() != 3) || !AllFinite(emissive))
            return Outcome::Failure(label + ": its emissiveFactor is not three finite numbers");
        ModelMaterial& m = out.material;
        m.name = source.name;
        // OPAQUE (the default) ignores the alpha of the colour.
        const float alpha = source.alphaMode == "BLEND" ? Unit(base[3]) : 1.0f;
        if (source.alphaMode == "MASK") Note(import, "alpha mask of " + label + " (drawn opaque)");
        m.diffuse = {Unit(base[0]), Unit(base[1]), Unit(base[2]), alpha};
        m.ambient = {m.diffuse.r * kAmbientOfDiffuse, m.diffuse.g * kAmbientOfDiffuse, m.diffuse.b * kAmbientOfDiffuse,
                     1.0f};
        if (!emissive.empty()) m.emissive = {Unit(emissive[0]), Unit(emissive[1]), Unit(emissive[2]), 1.0f};
        if (pbr.baseColorTexture.index >= 0)
            if (Outcome texture = ImportTexture(import, label, pbr.baseColorTexture, out); !texture) return texture;
        if (pbr.metallicRoughnessTexture.index >= 0 || pbr.metallicFactor != 0.0)
            Note(import, "metallic-roughness of " + label);
        if (source.normalTexture.index >= 0) Note(import, "normal texture of " + label);
        if (source.occlusionTexture.index >= 0) Note(import, "occlusion texture of " + label);
        if (source.emissiveTexture.index >= 0) Note(import, "emissive texture of " + label);
    }
    import.materials[index] = out;
    return Outcome();
}

}  // namespace m3d
