#include "foreign/readers/AssimpMaterials.h"

#include "foreign/readers/DefaultMaterial.h"
#include "foreign/readers/DroppedNotes.h"
#include "foreign/readers/FiniteValues.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <cctype>
#include <filesystem>
#include <map>

namespace m3d {

namespace {

// Texture kinds the editor's fixed-function materials have no place for.
constexpr std::pair<aiTextureType, const char*> kLostTextures[] = {
    {aiTextureType_NORMALS, "normal map"},
    {aiTextureType_HEIGHT, "height map"},
    {aiTextureType_SPECULAR, "specular map"},
    {aiTextureType_EMISSIVE, "emissive map"},
    {aiTextureType_OPACITY, "opacity map"},
    {aiTextureType_METALNESS, "metalness map"},
    {aiTextureType_DIFFUSE_ROUGHNESS, "roughness map"},
    {aiTextureType_AMBIENT_OCCLUSION, "occlusion map"},
};

void ReadColour(const aiMaterial& material, const char* key, unsigned type, unsigned index, ColorValue& colour)
{
    aiColor4D value;
    if (material.Get(key, type, index, value) == aiReturn_SUCCESS) colour = {value.r, value.g, value.b, value.a};
}

// A file name for the embedded texture: the model's name, its number and the
// ending assimp's format hint gives (letters and digits only).
std::string ImageName(const std::string& path, int index, const aiTexture& texture)
{
    std::string ending;
    for (size_t i = 0; i < HINTMAXTEXTURELEN && texture.achFormatHint[i]; ++i)
        if (std::isalnum(static_cast<unsigned char>(texture.achFormatHint[i]))) ending += texture.achFormatHint[i];
    return std::filesystem::path(path).stem().string() + "_image" + std::to_string(index) + "." +
           (ending.empty() ? "bin" : ending);
}

// The diffuse (or base colour) texture of material: a path into to, or an
// embedded image into images.
Outcome ReadTexture(const aiScene& scene, const aiMaterial& from, const std::string& path, ModelMaterial& to,
                    int32_t& image, std::map<int, int32_t>& imageOfTexture, ForeignModel& model)
{
    aiString name;
    if (from.GetTexture(aiTextureType_DIFFUSE, 0, &name) != aiReturn_SUCCESS &&
        from.GetTexture(aiTextureType_BASE_COLOR, 0, &name) != aiReturn_SUCCESS)
        return {};
    const auto [texture, index] = scene.GetEmbeddedTextureAndIndex(name.C_Str());
    if (!texture) {
        if (name.C_Str()[0] == '*')
            NoteDropped(model.dropped, "embedded texture " + std::string(name.C_Str()) + " of material '" + to.name +
                                           "' (not in the file)");
        else
            to.texturePath = name.C_Str();
        return {};
    }
    if (texture->mHeight != 0) {
        NoteDropped(model.dropped, "uncompressed embedded texture of material '" + to.name + "'");
        return {};
    }
    if (!texture->pcData && texture->mWidth > 0)
        return Outcome::Failure(path + ": embedded texture " + std::to_string(index) + " has no bytes");
    const auto [known, added] = imageOfTexture.try_emplace(index, int32_t(model.images.size()));
    if (added)
        model.images.push_back({ImageName(path, index, *texture),
                                std::string(reinterpret_cast<const char*>(texture->pcData), texture->mWidth)});
    image = known->second;
    return {};
}

}  // namespace

Outcome ReadAssimpMaterials(const aiScene& scene, const std::string& path, ForeignModel& model, AssimpMaterials& out)
{
    out = {};
    if (scene.mNumMaterials > 0 && !scene.mMaterials)
        return Outcome::Failure(path + ": the list of materials is missing");
    if (scene.mNumTextures > 0 && !scene.mTextures) return Outcome::Failure(path + ": the list of textures is missing");
    for (unsigned i = 0; i < scene.mNumTextures; ++i)
        if (!scene.mTextures[i])
            return Outcome::Failure(path + ": embedded texture " + std::to_string(i) + " is missing");
    std::map<int, int32_t> imageOfTexture;
    for (unsigned i = 0; i < scene.mNumMaterials; ++i) {
        const aiMaterial* from = scene.mMaterials[i];
        if (!from) return Outcome::Failure(path + ": material " + std::to_string(i) + " is missing");
        ModelMaterial to = DefaultForeignMaterial();
        aiString name;
        to.name = from->Get(AI_MATKEY_NAME, name) == aiReturn_SUCCESS ? name.C_Str() : "";
        ReadColour(*from, AI_MATKEY_COLOR_DIFFUSE, to.diffuse);
        ReadColour(*from, AI_MATKEY_COLOR_AMBIENT, to.ambient);
        ReadColour(*from, AI_MATKEY_COLOR_SPECULAR, to.specular);
        ReadColour(*from, AI_MATKEY_COLOR_EMISSIVE, to.emissive);
        from->Get(AI_MATKEY_OPACITY, to.diffuse.a);
        from->Get(AI_MATKEY_SHININESS, to.power);
        const float numbers[] = {to.diffuse.r,  to.diffuse.g,  to.diffuse.b,  to.diffuse.a,  to.ambient.r,
                                 to.ambient.g,  to.ambient.b,  to.ambient.a,  to.specular.r, to.specular.g,
                                 to.specular.b, to.specular.a, to.emissive.r, to.emissive.g, to.emissive.b,
                                 to.emissive.a, to.power};
        if (!AllFinite(numbers, std::size(numbers)))
            return Outcome::Failure(path + ": material '" + to.name + "' holds a number that is not finite");
        int32_t image = -1;
        if (Outcome read = ReadTexture(scene, *from, path, to, image, imageOfTexture, model); !read) return read;
        for (const auto& [type, what] : kLostTextures)
            if (from->GetTextureCount(type) > 0)
                NoteDropped(model.dropped, std::string(what) + " of material '" + to.name + "'");
        out.materials.push_back(std::move(to));
        out.images.push_back(image);
    }
    return {};
}

}  // namespace m3d
