#pragma once

#include "view/ViewState.h"

#include <optional>

namespace m3d {

class Scene;

// The geometry of posing along one axis or in one plane: how a pointer's
// path on screen becomes an angle or a distance, the snapping steps, and the
// rotation about an axis through a Part's pivot.

// The angle from from to to as seen turning about centre, in radians in
// (-pi, pi], positive clockwise on screen (pixel y grows downwards); 0 when
// either lies on the centre.
float SweptAngle(PixelPoint centre, PixelPoint from, PixelPoint to);

// value rounded to the nearest whole number of steps (halves away from 0);
// value itself for a step of 0 or less.
float SnapToStep(float value, float step);

// The parameter t of the point origin + t unitAxis nearest to the ray's line;
// nullopt when the two run (nearly) parallel, so that no point is nearest.
std::optional<float> NearestAlongLine(const Ray& ray, Vec3 origin, Vec3 unitAxis);

// Where the ray's line meets the plane through point at right angles to
// unitNormal; nullopt when it runs (nearly) along the plane.
std::optional<Vec3> MeetPlane(const Ray& ray, Vec3 point, Vec3 unitNormal);

// The rotation that turns a pointer's clockwise sweep of angle on screen
// into a turn about unitAxis that follows it, towardViewer being the unit
// direction from the pivot to the eye: a turn by angle about the axis as it
// points at the viewer, the other way when it points away.
Matrix4 TurnFollowingSweep(Vec3 unitAxis, Vec3 towardViewer, float angle);

// world's rotation followed by turn, its translation row kept: the Part
// turned about an axis through its pivot.
Matrix4 TurnedAbout(const Matrix4& world, const Matrix4& turn);

// Carries Part edited's new pose over to the Parts whose partner it is, as
// the drags always did: a Part under a parent takes edited's local rotation
// and position mirrored across x = 0; a top-level one takes the mirrored
// world rotation in its own place after a turn, and the mirrored local pose
// after a move. Their children follow.
void FollowOnPartners(Scene& scene, int edited, bool turned);

}  // namespace m3d
