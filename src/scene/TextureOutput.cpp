#include "scene/TextureOutput.h"

#include "io/FileSetWriter.h"
#include "io/TaskProgress.h"
#include "meshlib/CMesh.h"
#include "scene/MessageLists.h"
#include "scene/Scene.h"
#include "text/UiText.h"
#include "text/ShiftJis.h"

#include <filesystem>
#include <system_error>

namespace m3d {

std::vector<TextureOutput> PlanMissingTextures(Scene& scene, const std::string& directory)
{
    std::vector<TextureOutput> plan;
    for (int i = 0; i < scene.MeshBase().GetTextureNum(); ++i) {
        _MESHBASE_TEXTURE* texture = scene.MutableMeshBase().GetTexture(i);
        if (!texture) continue;
        texture->name = AsciiLower(texture->name);
        // A name is a plain file name; one that would lead out of the folder is not written.
        if (texture->name.empty() || texture->name.find_first_of("/\\") != std::string::npos) continue;
        const std::string path = (directory.empty() ? std::string() : directory + "/") + texture->name;
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) continue;
        const std::optional<ImageFormat> format = ImageFormatFromName(texture->name);
        if (!format || texture->image.width == 0) continue;
        plan.push_back({path, texture, *format});
    }
    return plan;
}

Outcome StageTextures(const std::vector<TextureOutput>& plan, FileSetWriter& set, TaskProgress* progress)
{
    uint64_t rows = 0;
    for (const TextureOutput& output : plan) rows += uint64_t(output.texture->image.height);
    ProgressSteps steps(progress, rows);
    FileSetOptions options;
    options.keepExisting = true;
    rows = 0;
    for (const TextureOutput& output : plan) {
        steps.StartAt(rows);
        const Expected<std::string> bytes = EncodeTextureImage(output.texture->image, output.format, &steps);
        if (!bytes) return steps.FailureOf(output.path, bytes.Message());
        if (Outcome added = set.Add(output.path, *bytes, options); !added) return added;
        rows += uint64_t(output.texture->image.height);
    }
    return Outcome();
}

std::vector<const _MESHBASE_TEXTURE*> PartTextures(Scene& scene)
{
    std::vector<bool> named(size_t(scene.MeshBase().GetTextureNum()), false);
    for (const auto& part : scene.Parts()) {
        if (!part->mesh) continue;
        for (int k = 0; const _MESH_TEXTURE* reference = part->mesh->GetTexture(k); ++k)
            if (reference->index >= 0 && size_t(reference->index) < named.size())
                named[size_t(reference->index)] = true;
    }
    std::vector<const _MESHBASE_TEXTURE*> textures;
    for (size_t i = 0; i < named.size(); ++i)
        if (named[i]) textures.push_back(scene.MeshBase().GetTexture(int(i)));
    return textures;
}

std::vector<const _MESHBASE_TEXTURE*> PartTextureProblems(Scene& scene)
{
    std::vector<const _MESHBASE_TEXTURE*> problems;
    for (const _MESHBASE_TEXTURE* texture : PartTextures(scene))
        if (texture->image.width == 0) problems.push_back(texture);
    return problems;
}

std::vector<std::string> TextureProblemLines(const std::vector<const _MESHBASE_TEXTURE*>& textures)
{
    std::vector<std::string> lines;
    for (const _MESHBASE_TEXTURE* texture : textures)
        lines.push_back(texture->problem.empty() ? texture->name + ": no image" : texture->problem);
    return lines;
}

std::string TextureProblemWarning(const std::vector<std::string>& problems)
{
    if (problems.empty()) return std::string();
    return UiText("core", "次のテクスチャは使えません:") + "\n" + FirstLines(problems);
}

}  // namespace m3d
