#include "view/TransformOperations.h"

#include "scene/PartPlacement.h"
#include "scene/Scene.h"

namespace m3d {

namespace {

// The panel's reflection of a local pose also negates _41: the translation row
// of a localMatrix is not used for placement, but it is kept consistent.
Matrix4 MirrorLocalMatrix(const Matrix4& m)
{
    Matrix4 out = MirrorRotation(m);
    out.m[3][0] = -out.m[3][0];
    return out;
}

}  // namespace

TransformValues TransformValuesOf(const Scene& scene, int index, HeadingPitchBank relativeNear,
                                  HeadingPitchBank absoluteNear)
{
    TransformValues values;
    const Part* part = scene.PartAt(index);
    if (!part) return values;
    const Matrix4 world = scene.WorldMatrixOf(index);
    values.relativeRotation = NearestAngles(part->localMatrix, relativeNear);
    values.absoluteRotation = NearestAngles(world, absoluteNear);
    values.relativePosition = part->localPosition;
    values.absolutePosition = world.Translation();
    return values;
}

void SetRelativeRotation(Scene& scene, int index, HeadingPitchBank angles)
{
    Part* part = scene.PartAt(index);
    if (!part) return;
    part->localMatrix = RotationFromAngles(angles);
    if (part->parentIndex < 0 || !part->mesh)
        PlaceFromLocal(scene, index);
    else
        TurnInPlace(scene, index, part->localMatrix * ParentWorldOf(scene, index));
    UpdateChildren(scene, index);
}

void SetAbsoluteRotation(Scene& scene, int index, HeadingPitchBank angles)
{
    Part* part = scene.PartAt(index);
    if (!part) return;
    const Matrix4 rotation = RotationFromAngles(angles);
    if (part->parentIndex < 0) {
        part->localMatrix = rotation;
        PlaceFromLocal(scene, index);
    } else {
        TurnInPlace(scene, index, rotation);
    }
    UpdateChildren(scene, index);
}

void SetRelativePosition(Scene& scene, int index, Vec3 position)
{
    Part* part = scene.PartAt(index);
    if (!part) return;
    part->localPosition = position;
    scene.UpdateHierarchy(index);
}

void SetAbsolutePosition(Scene& scene, int index, Vec3 position)
{
    Part* part = scene.PartAt(index);
    if (!part || !part->mesh) return;
    part->mesh->SetPosition(position);
    const Matrix4 world = part->mesh->GetMatrix();
    const Matrix4 parentWorld = ParentWorldOf(scene, index);
    part->localMatrix = LocalFromWorld(world, part->parentIndex < 0 ? nullptr : &parentWorld);
    part->localPosition = part->parentIndex < 0 ? position : part->localMatrix.Translation();
    UpdateChildren(scene, index);
}

void MirrorToPartners(Scene& scene, int index)
{
    const Part* edited = scene.PartAt(index);
    if (!edited) return;
    for (int i = 0; i < scene.PartCount(); ++i) {
        Part& partner = *scene.Parts()[i];
        if (i == index || partner.symmetryIndex != index) continue;
        partner.localMatrix = MirrorLocalMatrix(edited->localMatrix);
        partner.localPosition = MirrorPosition(edited->localPosition);
        PlaceFromLocal(scene, i);
        UpdateChildren(scene, i);
    }
}

}  // namespace m3d
