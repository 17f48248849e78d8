#include "foreign/ModelFolderImages.h"

#include "io/PathLookup.h"

#include <algorithm>

namespace m3d {

void KeepImagesInModelFolder(ForeignModel& model, const std::string& path, NamedFileScope scope)
{
    model.imageScope = scope;
    if (scope == NamedFileScope::Anywhere) return;
    const std::string directory = DirectoryOf(path);
    const std::string folder = directory.empty() ? "." : directory;
    const std::string canonicalFolder = CanonicalPath(folder);
    for (ForeignMesh& mesh : model.meshes)
        for (ModelMaterial& material : mesh.geometry.materials) {
            if (material.texturePath.empty()) continue;
            // Looked up as the texture loading will look it up.
            const std::optional<std::string> found = FindFileIgnoringCase(folder, material.texturePath);
            if (!found || IsInsideFolder(CanonicalPath(*found), canonicalFolder)) continue;
            std::string note = "image '" + material.texturePath + "' of material '" + material.name +
                               "' (outside the model's folder; read only when images from outside are allowed)";
            if (std::find(model.dropped.begin(), model.dropped.end(), note) == model.dropped.end())
                model.dropped.push_back(std::move(note));
            material.texturePath.clear();
        }
}

}  // namespace m3d
