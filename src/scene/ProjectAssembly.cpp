#include "scene/ProjectAssembly.h"

#include "scene/UniqueNames.h"
#include "text/StoredName.h"

namespace m3d {

ProjectAssembly AssembleProject(Scene& scene, ProjectData data, const RecordMeshSource& meshOf)
{
    ProjectAssembly assembly;
    scene.ClearScene();
    // Until every Part is in, the scene is no copy of the file: saving an
    // incomplete load over it would lose the Parts and Motions not read.
    scene.projectPath.clear();
    scene.projectFileName = kUntitledProjectName;
    // The scene is empty, so every display name is free until a Part takes
    // it. Base names stay as the file has them: Parts may share one file.
    UniqueNames displayNames(NameCase::Exact);
    for (size_t i = 0; i < data.parts.size(); ++i) {
        const ProjectPartRecord& record = data.parts[i];
        std::string missing;
        std::optional<RecordMesh> found = meshOf(i, record, missing);
        if (!found) {
            // Partners among the Parts not made would name no Part.
            for (auto& part : scene.Parts())
                if (part->symmetryIndex >= scene.PartCount()) part->symmetryIndex = -1;
            scene.UpdateHierarchy(0);
            assembly.problems.push_back(std::move(missing));
            return assembly;
        }
        std::string baseName =
            StorableFileName(record.baseName) == record.baseName ? record.baseName : found->fallbackBaseName;
        std::string displayName = displayNames.Take(baseName);
        // Composed once after the last Part rather than once for each.
        const int added = scene.AppendPart(record.parentIndex, found->path, std::move(found->object.mesh),
                                           {std::move(baseName), std::move(displayName)});
        scene.SelectTreeItem(scene.Parts()[added]->treeItem);
        if (!found->object.loaded) assembly.problems.push_back(found->object.loaded.Message());
        scene.Parts().back()->symmetryIndex = record.symmetryIndex;
        scene.Parts().back()->jointLimit = record.jointLimit;
    }
    scene.UpdateHierarchy(0);
    // The reader has checked every name, length and track.
    scene.MutableMotions() = std::move(data.motions);
    scene.metresPerUnit = data.metresPerUnit;
    assembly.complete = true;
    return assembly;
}

}  // namespace m3d
