#include "editor/EditorSession.h"
#include "editor/ModelHeight.h"
#include "text/UiText.h"

#include <string>

namespace m3d {

namespace {
constexpr const char* kProgramTitle = "Marionettica3D Ver 1.0.0";

std::string PartSummary(const std::string& name, int faces, int meshes)
{
    return name + " face:" + std::to_string(faces) + " mesh:" + std::to_string(meshes);
}
}  // namespace

void EditorSession::UpdateTitle()
{
    totalFaces = 0;
    totalMeshes = 0;
    for (const auto& part : scene.Parts()) {
        if (!part->mesh) continue;
        totalFaces += part->mesh->GetFaceNum();
        totalMeshes += part->mesh->GetMeshNum();
    }
    // The name of a project never saved is shown in the interface language.
    const std::string projectName =
        scene.projectFileName == kUntitledProjectName ? UiText("core", kUntitledProjectName) : scene.projectFileName;
    titleText = std::string(kProgramTitle) + "   " + PartSummary(projectName, totalFaces, totalMeshes);
    if (const Part* current = scene.PartAt(CurrentPart()); current && current->mesh)
        titleText +=
            "   " + PartSummary(current->displayName, current->mesh->GetFaceNum(), current->mesh->GetMeshNum());
    titleText += "   " + WithArguments(UiText("core", "グリッドの幅:%1"), {std::to_string(viewState.gridWidth)});
    if (const std::string height = ModelHeightText(scene); !height.empty()) titleText += "   " + height;
    if (history.IsModified()) titleText += " *";
    events.Publish(TitleChanged{titleText});
}

}  // namespace m3d
