#pragma once

#include "math/Vec3.h"
#include "view/RotationAngles.h"

namespace m3d {

class Scene;

// What the transform panel shows for a Part: rotation and position relative
// to its parent and absolute in the world (angles in degrees, positions in
// world units). All zero when no Part is shown.
struct TransformValues {
    HeadingPitchBank relativeRotation;  // angles of the Part's localMatrix
    HeadingPitchBank absoluteRotation;  // angles of its mesh's world matrix
    Vec3 relativePosition;              // its localPosition
    Vec3 absolutePosition;              // its mesh's world position
};

// The numeric pose edits of the transform panel, acting on Part part. Each
// changes nothing for an index outside the Parts, and otherwise recomposes
// the Part's children.

// The values the panel shows for Part part; all zero for an index outside
// the Parts. Each rotation is the triple of angles nearest to the one given
// for its row (NearestAngles).
TransformValues TransformValuesOf(const Scene& scene, int part, HeadingPitchBank relativeNear = {},
                                  HeadingPitchBank absoluteNear = {});

// localMatrix := RotationFromAngles(angles); the Part keeps its position.
void SetRelativeRotation(Scene& scene, int part, HeadingPitchBank angles);
// The Part's world rotation becomes RotationFromAngles(angles); it keeps its position.
void SetAbsoluteRotation(Scene& scene, int part, HeadingPitchBank angles);
// localPosition := position (in the parent's frame).
void SetRelativePosition(Scene& scene, int part, Vec3 position);
// The Part's world position becomes position; its rotation is kept. Nothing
// for a Part without a mesh.
void SetAbsolutePosition(Scene& scene, int part, Vec3 position);
// Every Part whose partner is Part part gets part's local rotation and
// position reflected across x = 0, whatever it held before.
void MirrorToPartners(Scene& scene, int part);

}  // namespace m3d
