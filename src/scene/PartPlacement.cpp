#include "scene/PartPlacement.h"

#include "scene/Scene.h"

namespace m3d {

Matrix4 ParentWorldOf(const Scene& scene, int index)
{
    const Part* part = scene.PartAt(index);
    if (!part || part->parentIndex < 0) return Matrix4::Identity();
    return scene.WorldMatrixOf(part->parentIndex);
}

void SetMeshWorld(Scene& scene, int index, const Matrix4& world)
{
    if (Part* part = scene.PartAt(index)) SetMeshWorld(*part, world);
}

void PlaceFromLocal(Scene& scene, int index)
{
    Part* part = scene.PartAt(index);
    if (!part || !part->mesh) return;
    const Matrix4 parentWorld = ParentWorldOf(scene, index);
    SetMeshWorld(
        scene, index,
        WorldFromLocal(part->localMatrix, part->localPosition, part->parentIndex >= 0 ? &parentWorld : nullptr));
}

void TurnInPlace(Scene& scene, int index, const Matrix4& worldRotation)
{
    Part* part = scene.PartAt(index);
    if (!part) return;
    const Matrix4 parentWorld = ParentWorldOf(scene, index);
    part->localMatrix = LocalFromWorld(worldRotation, part->parentIndex >= 0 ? &parentWorld : nullptr);
    if (!part->mesh) return;
    part->mesh->SetMatrix(worldRotation);
    part->mesh->SetPosition(TransformPoint(part->localPosition, parentWorld));
}

void UpdateChildren(Scene& scene, int index)
{
    const Part* part = scene.PartAt(index);
    if (!part) return;
    // Siblings follow each other in index order, so recomposing the first child
    // with its later siblings covers every child.
    const int firstChild = scene.FindPartByTreeItem(scene.Tree().GetFirstChild(part->treeItem));
    if (firstChild >= 0) scene.UpdateHierarchy(firstChild);
}

}  // namespace m3d
