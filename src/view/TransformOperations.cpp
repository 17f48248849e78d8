#include "view/TransformOperations.h"

#include "scene/Scene.h"
#include "view/PartPlacement.h"

namespace {

// The panel's reflection of a local pose also negates _41: the translation row
// of a localMatrix is not used for placement, but it is kept consistent.
Matrix4 MirrorLocalMatrix(const Matrix4& m)
{
    Matrix4 out = MirrorRotation(m);
    out.m[3][0] = -out.m[3][0];
    return out;
}

// Runs edit with each partner of the current Part made current in turn, then
// makes the first Part current again.
template <typename Edit>
void ForEachPartnerAsCurrent(Scene& scene, Edit edit)
{
    const int first = scene.currentPart;
    if (!scene.transformPanel.linkLR || !scene.PartAt(first)) return;
    for (int i = 0; i < scene.PartCount(); ++i) {
        if (i == first || scene.parts[i]->symmetryIndex != first) continue;
        scene.SelectTreeItem(scene.parts[i]->treeItem);
        // A Part whose tree item cannot be selected is left alone rather than
        // editing the first Part in its place.
        if (scene.currentPart == i) edit();
    }
    scene.SelectTreeItem(scene.parts[first]->treeItem);
}

}  // namespace

TransformValues CurrentTransformValues(const Scene& scene)
{
    TransformValues values;
    const Part* part = scene.PartAt(scene.currentPart);
    if (!part) return values;
    const Matrix4 world = scene.WorldMatrixOf(scene.currentPart);
    values.relativeRotation = AnglesFromMatrix(part->localMatrix);
    values.absoluteRotation = AnglesFromMatrix(world);
    values.relativePosition = part->localPosition;
    values.absolutePosition = world.Translation();
    return values;
}

void ShowCurrentTransform(Scene& scene)
{
    scene.transformPanel.fields = CurrentTransformValues(scene);
    scene.Observer().TransformPanelNeedsRefresh();
}

void SetRelativeRotation(Scene& scene, HeadingPitchBank angles)
{
    const int index = scene.currentPart;
    Part* part = scene.PartAt(index);
    if (!part) return;
    part->localMatrix = RotationFromAngles(angles);
    if (part->parentIndex < 0 || !part->mesh) {
        PlaceFromLocal(scene, index);
    } else {
        const Matrix4 parentWorld = ParentWorldOf(scene, index);
        const Matrix4 world = part->localMatrix * parentWorld;
        part->mesh->SetMatrix(world);
        part->localMatrix = world * InverseOrIdentity(parentWorld);
        part->mesh->SetPosition(TransformPoint(part->localPosition, parentWorld));
    }
    UpdateChildren(scene, index);
    ShowCurrentTransform(scene);
}

void SetAbsoluteRotation(Scene& scene, HeadingPitchBank angles)
{
    const int index = scene.currentPart;
    Part* part = scene.PartAt(index);
    if (!part) return;
    const Matrix4 rotation = RotationFromAngles(angles);
    if (part->parentIndex < 0) {
        part->localMatrix = rotation;
        PlaceFromLocal(scene, index);
    } else {
        const Matrix4 parentWorld = ParentWorldOf(scene, index);
        part->localMatrix = rotation * InverseOrIdentity(parentWorld);
        if (part->mesh) {
            part->mesh->SetMatrix(rotation);
            part->mesh->SetPosition(TransformPoint(part->localPosition, parentWorld));
        }
    }
    UpdateChildren(scene, index);
    ShowCurrentTransform(scene);
}

void SetRelativePosition(Scene& scene, Vec3 position)
{
    const int index = scene.currentPart;
    Part* part = scene.PartAt(index);
    if (!part) return;
    part->localPosition = position;
    scene.UpdateHierarchy(index);
    ShowCurrentTransform(scene);
}

void SetAbsolutePosition(Scene& scene, Vec3 position)
{
    const int index = scene.currentPart;
    Part* part = scene.PartAt(index);
    if (!part || !part->mesh) return;
    part->mesh->SetPosition(position);
    const Matrix4 world = part->mesh->GetMatrix();
    if (part->parentIndex < 0) {
        part->localMatrix = world;
        part->localPosition = position;
    } else {
        part->localMatrix = world * InverseOrIdentity(ParentWorldOf(scene, index));
        part->localPosition = part->localMatrix.Translation();
    }
    UpdateChildren(scene, index);
    ShowCurrentTransform(scene);
}

void MirrorToPartners(Scene& scene)
{
    const int index = scene.currentPart;
    const Part* edited = scene.PartAt(index);
    if (!scene.transformPanel.linkLR || !edited) return;
    for (int i = 0; i < scene.PartCount(); ++i) {
        Part& partner = *scene.parts[i];
        if (i == index || partner.symmetryIndex != index) continue;
        partner.localMatrix = MirrorLocalMatrix(edited->localMatrix);
        partner.localPosition = MirrorPosition(edited->localPosition);
        PlaceFromLocal(scene, i);
        UpdateChildren(scene, i);
    }
}

void OnRelativeRotationSet(Scene& scene)
{
    SetRelativeRotation(scene, scene.transformPanel.fields.relativeRotation);
    MirrorToPartners(scene);
    scene.poseHistory.PushUndo();
}

void OnRelativePositionSet(Scene& scene)
{
    SetRelativePosition(scene, scene.transformPanel.fields.relativePosition);
    MirrorToPartners(scene);
    scene.poseHistory.PushUndo();
}

void OnAbsolutePositionSet(Scene& scene)
{
    const Vec3 p = scene.transformPanel.fields.absolutePosition;
    SetAbsolutePosition(scene, p);
    ForEachPartnerAsCurrent(scene, [&] { SetAbsolutePosition(scene, MirrorPosition(p)); });
    ShowCurrentTransform(scene);
    scene.poseHistory.PushUndo();
}

void OnAbsoluteRotationSet(Scene& scene)
{
    const HeadingPitchBank a = scene.transformPanel.fields.absoluteRotation;
    SetAbsoluteRotation(scene, a);
    ForEachPartnerAsCurrent(scene, [&] { SetAbsoluteRotation(scene, {-a.h, a.p, -a.b}); });
    ShowCurrentTransform(scene);
    scene.poseHistory.PushUndo();
}
