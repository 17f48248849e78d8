#pragma once

#include "math/Vec3.h"
#include "view/RotationAngles.h"
#include "view/TransformPanelState.h"

class Scene;

// The numeric pose edits of the transform panel, acting on the Scene's
// current Part (Scene::currentPart). Each operation changes nothing when no
// Part is current, and otherwise recomposes the Part's children and refreshes
// the panel (ShowCurrentTransform).

// The values the panel shows for the current Part; all zero when none.
TransformValues CurrentTransformValues(const Scene& scene);
// Refills the panel's fields from the current Part and tells the observer.
void ShowCurrentTransform(Scene& scene);

// localMatrix := RotationFromAngles(angles); the Part keeps its position.
void SetRelativeRotation(Scene& scene, HeadingPitchBank angles);
// The Part's world rotation becomes RotationFromAngles(angles); it keeps its position.
void SetAbsoluteRotation(Scene& scene, HeadingPitchBank angles);
// localPosition := position (in the parent's frame).
void SetRelativePosition(Scene& scene, Vec3 position);
// The Part's world position becomes position; its rotation is kept.
void SetAbsolutePosition(Scene& scene, Vec3 position);
// With "左右連動" on: every Part whose partner is the current Part gets the
// current Part's local rotation and position reflected across x = 0,
// whatever it held before.
void MirrorToPartners(Scene& scene);

// The four "Set" buttons: apply the panel field of their row (with the
// partners when "左右連動" is on: the relative rows reflect the local pose,
// the absolute rows set (-x, y, z) and (-H, P, -B)), then record one undo
// step, also when no Part is current.
void OnRelativeRotationSet(Scene& scene);
void OnAbsoluteRotationSet(Scene& scene);
void OnRelativePositionSet(Scene& scene);
void OnAbsolutePositionSet(Scene& scene);
