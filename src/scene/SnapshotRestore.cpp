#include "scene/SnapshotRestore.h"

#include "io/PathLookup.h"
#include "scene/MessageLists.h"
#include "scene/ProjectAssembly.h"
#include "scene/ProjectExtrasFile.h"
#include "scene/ProjectFileFormat.h"
#include "scene/Scene.h"

#include <filesystem>

namespace m3d {

ProjectLoad RestoreSnapshot(Scene& scene, const DocumentSnapshot& snapshot, const std::string& path)
{
    ProjectLoad load;
    ProjectData data;
    if (Outcome parsed = ParseProjectFile(snapshot.project, path, data); !parsed) {
        load.outcome = std::move(parsed);
        return load;
    }
    if (data.parts.size() != snapshot.parts.size()) {
        load.outcome = Outcome::Failure(path + ": the snapshot has " + std::to_string(snapshot.parts.size()) +
                                        " meshes for a project of " + std::to_string(data.parts.size()) + " Parts");
        return load;
    }
    Outcome extrasRefused;
    if (!snapshot.extras.empty()) extrasRefused = ApplyProjectExtras(snapshot.extras, path, snapshot.project, data);

    // Textures are read from the files they were read from, or (those that
    // came inside a model) from the snapshot.
    TextureSources textures;
    for (const SnapshotTexture& texture : snapshot.textures) {
        if (texture.png)
            textures.embedded.push_back({texture.name, *texture.png});
        else if (std::error_code missing; !texture.source.empty() && std::filesystem::exists(texture.source, missing))
            textures.files[texture.name] = texture.source;
    }
    const auto meshOf = [&](size_t index, const ProjectPartRecord& record, std::string&) -> std::optional<RecordMesh> {
        const SnapshotPart& part = snapshot.parts[index];
        // Named as a save into its texture folder would name it, for messages and texture look-ups.
        const std::string file =
            (part.textureFolder.empty() ? std::string() : part.textureFolder + "/") + record.baseName + ".mesh";
        ObjectMesh object{scene.NewMesh(), Outcome()};
        if (part.mesh >= 0)
            object.loaded = object.mesh->LoadMeshFileBytes(*snapshot.meshes[size_t(part.mesh)], file, 1.0f, textures);
        return RecordMesh{file, std::move(object), record.baseName};
    };
    ProjectAssembly assembly = AssembleProject(scene, std::move(data), meshOf);
    load.sceneReplaced = true;
    load.complete = assembly.complete;
    if (!snapshot.info.originalPath.empty()) {
        scene.projectPath = snapshot.info.originalPath;
        scene.projectFileName = FileNameOf(snapshot.info.originalPath);
    }
    if (!extrasRefused) assembly.problems.push_back(extrasRefused.Message());
    if (!assembly.problems.empty()) load.outcome = Outcome::Failure(FirstLines(assembly.problems));
    return load;
}

}  // namespace m3d
