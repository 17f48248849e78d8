#include "scene/Scene.h"

#include "scene/PoseComposition.h"

#include <vector>

namespace m3d {

namespace {

Matrix4 ComposeWorld(const Part& part, const Matrix4* parentWorld)
{
    return WorldFromLocal(part.localMatrix, part.localPosition, parentWorld);
}

}  // namespace

Matrix4 Scene::WorldMatrixOf(int index) const
{
    const Part* part = PartAt(index);
    if (!part) return Matrix4::Identity();
    if (part->mesh) return part->mesh->GetMatrix();
    // Parents precede their children, so the chain ends within index steps.
    const Part* parent = part->parentIndex >= 0 && part->parentIndex < index ? PartAt(part->parentIndex) : nullptr;
    if (!parent) return ComposeWorld(*part, nullptr);
    const Matrix4 parentWorld = WorldMatrixOf(part->parentIndex);
    return ComposeWorld(*part, &parentWorld);
}

void Scene::UpdateHierarchy(int index)
{
    const int count = PartCount();
    if (index < 0 || index >= count) return;
    // The tree mirrors the links and siblings appear in index order, so the
    // Parts to compose (this one, its later siblings and all their
    // descendants) are found in one forward pass, each after its parent.
    const int sharedParent = parts[index]->parentIndex;
    const bool hasSharedParent = sharedParent >= 0 && sharedParent < index;
    const Matrix4 sharedParentWorld = hasSharedParent ? WorldMatrixOf(sharedParent) : Matrix4::Identity();

    std::vector<char> affected(count, 0);
    std::vector<Matrix4> worlds(count);
    for (int i = index; i < count; ++i) {
        Part& part = *parts[i];
        const int parent = part.parentIndex;
        const bool underAffected = parent >= index && parent < i && affected[parent];
        const bool sibling = i == index || (parent == sharedParent && i > index);
        if (!underAffected && !sibling) continue;
        affected[i] = 1;
        if (underAffected)
            worlds[i] = ComposeWorld(part, &worlds[parent]);
        else
            worlds[i] = ComposeWorld(part, hasSharedParent ? &sharedParentWorld : nullptr);
        SetMeshWorld(part, worlds[i]);
    }
}

}  // namespace m3d
