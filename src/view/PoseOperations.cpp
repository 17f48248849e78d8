#include "view/PoseOperations.h"

#include "scene/Scene.h"
#include "scene/PartPlacement.h"
#include "view/RotationAngles.h"
#include "view/TransformOperations.h"

#include <vector>

namespace m3d {

void MirrorPose(Scene& scene)
{
    const int count = scene.PartCount();
    if (count == 0) return;
    // Partners swap, so every Part reads the pose from before the command.
    std::vector<Matrix4> before(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) before[i] = scene.Parts()[i]->localMatrix;
    for (int i = 0; i < count; ++i) {
        Part& part = *scene.Parts()[i];
        const int partner = part.symmetryIndex;
        const bool paired = partner >= 0 && partner < count;
        part.localMatrix = MirrorRotation(before[paired ? partner : i]);
        if (paired && part.parentIndex >= 0) part.localMatrix.SetTranslation(part.localPosition);
    }
    scene.UpdateHierarchy(0);
}

bool LowestModelY(const Scene& scene, float& y)
{
    float lowest = 0.0f;
    bool found = false;
    for (const auto& part : scene.Parts()) {
        const CMesh* mesh = part->mesh.get();
        if (!mesh) continue;
        const Matrix4 w = mesh->GetMatrix();
        const int count = mesh->GetVertexNum();
        for (int k = 0; k < count; ++k) {
            const _MESH_VERTEX* v = mesh->GetVertex(k);
            // Only y is needed: the second column of the row-vector product.
            const float vy = v->x * w.m[0][1] + v->y * w.m[1][1] + v->z * w.m[2][1] + w.m[3][1];
            if (!found || vy < lowest) lowest = vy;
            found = true;
        }
    }
    if (found) y = lowest;
    return found;
}

bool DropToGround(Scene& scene)
{
    float lowest = 0.0f;
    if (!LowestModelY(scene, lowest)) return false;
    for (auto& part : scene.Parts())
        if (part->parentIndex == -1) part->localPosition.y -= lowest;
    scene.UpdateHierarchy(0);
    return true;
}

void KeepOnlyHeading(Scene& scene, int part)
{
    if (!scene.PartAt(part)) return;
    const float heading = AnglesFromMatrix(scene.WorldMatrixOf(part)).h;
    SetAbsoluteRotation(scene, part, {heading, 0.0f, 0.0f});
}

}  // namespace m3d
