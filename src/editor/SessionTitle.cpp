#include "editor/EditorSession.h"

#include <string>

namespace {
constexpr const char* PROGRAM_TITLE = "Marionettica3D Ver 1.0.0";

std::string PartSummary(const std::string& name, int faces, int meshes)
{
    return name + " face:" + std::to_string(faces) + " mesh:" + std::to_string(meshes);
}
}  // namespace

void EditorSession::UpdateTitle()
{
    totalFaces = 0;
    totalMeshes = 0;
    for (const auto& part : scene.parts) {
        if (!part->mesh) continue;
        totalFaces += part->mesh->GetFaceNum();
        totalMeshes += part->mesh->GetMeshNum();
    }
    titleText = std::string(PROGRAM_TITLE) + "   " + PartSummary(scene.projectFileName, totalFaces, totalMeshes);
    if (const Part* current = scene.PartAt(CurrentPart()); current && current->mesh)
        titleText += "   " + PartSummary(current->displayName, current->mesh->GetFaceNum(), current->mesh->GetMeshNum());
    titleText += "   グリッドの幅:" + std::to_string(viewState.gridWidth);
    events.Publish(TitleChanged{titleText});
}
