#include "editor/history/PartSwapChange.h"

#include "editor/EditorSession.h"

namespace m3d {

PartSwapChange::PartSwapChange(int part, std::unique_ptr<CMesh> mesh, std::string baseName, std::string displayName,
                               bool sameContent, bool sameName)
    : part(part),
      mesh(std::move(mesh)),
      baseName(std::move(baseName)),
      displayName(std::move(displayName)),
      sameContent(sameContent),
      sameName(sameName)
{
}

SavedDataEffect PartSwapChange::Effect() const
{
    return {SavedData::PartRecords | SavedData::Geometry,
            (sameName ? 0u : SavedData::PartRecords) | (sameContent ? 0u : SavedData::Geometry)};
}

PartSwapChange::~PartSwapChange() = default;

size_t PartSwapChange::Bytes() const
{
    size_t bytes = sizeof(*this) + baseName.size() + displayName.size();
    if (mesh) {
        bytes += static_cast<size_t>(mesh->GetVertexNum()) * sizeof(_MESH_VERTEX);
        for (int k = 0; k < mesh->GetMeshNum(); ++k) bytes += mesh->GetMesh(k)->indices.size() * sizeof(uint16_t);
    }
    return bytes;
}

void PartSwapChange::Exchange(EditorSession& session)
{
    Scene& scene = session.GetScene();
    Part* target = scene.PartAt(part);
    if (!target) return;
    if (target->mesh) scene.meshBase.RemoveMesh(target->mesh.get());
    std::swap(target->mesh, mesh);
    if (target->mesh) scene.meshBase.InitMesh(target->mesh.get(), 1);
    std::swap(target->baseName, baseName);
    std::swap(target->displayName, displayName);
    scene.SetTreeItemText(target->treeItem, target->displayName);
    scene.UpdateHierarchy(0);
}

}  // namespace m3d
