#include "view/PartPlacement.h"

#include "scene/Scene.h"

Matrix4 ParentWorldOf(const Scene& scene, int index)
{
    const Part* part = scene.PartAt(index);
    if (!part || part->parentIndex < 0) return Matrix4::Identity();
    return scene.WorldMatrixOf(part->parentIndex);
}

Matrix4 InverseOrIdentity(const Matrix4& m)
{
    Matrix4 inverse;
    return MatrixInverse(m, inverse) ? inverse : Matrix4::Identity();
}

void SetMeshWorld(Scene& scene, int index, const Matrix4& world)
{
    Part* part = scene.PartAt(index);
    if (!part || !part->mesh) return;
    part->mesh->SetMatrix(world);
    part->mesh->SetPosition(world.Translation());
}

void PlaceFromLocal(Scene& scene, int index)
{
    Part* part = scene.PartAt(index);
    if (!part || !part->mesh) return;
    if (part->parentIndex < 0) {
        part->mesh->SetMatrix(part->localMatrix);
        part->mesh->SetPosition(part->localPosition);
        return;
    }
    const Matrix4 parentWorld = ParentWorldOf(scene, index);
    part->mesh->SetMatrix(part->localMatrix * parentWorld);
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

Matrix4 MirrorRotation(const Matrix4& m)
{
    Matrix4 out = m;
    out.m[0][1] = -out.m[0][1];
    out.m[0][2] = -out.m[0][2];
    out.m[1][0] = -out.m[1][0];
    out.m[2][0] = -out.m[2][0];
    return out;
}
