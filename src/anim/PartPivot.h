#pragma once

#include "math/Vec3.h"

#include <optional>

namespace m3d {

class Scene;

// Where the pivot of a Part may be put by name: its box's centre, the centre
// of its box's bottom, or the world origin as the Part stands now.
enum class PivotPlace { BoxCentre, BoxBottomCentre, WorldOrigin };

// The point place names, in Part part's own coordinates (those of its
// mesh's vertices); nothing for a Part index outside the Parts, or for a box
// place of a Part without vertices.
std::optional<Vec3> PivotPoint(const Scene& scene, int part, PivotPlace place);

// Moves Part part's pivot (the point it turns about, its origin) to point,
// given in its own coordinates, while everything stays where it stands in
// the world at every frame of every Motion and in the pose shown: the mesh
// is shifted by -point, the Part's position in its parent and its
// children's positions in it are moved to match, and every key of the Part
// and of its children is re-expressed. Between keys the Part's new origin
// may follow another path than the old one (a turning Part carries its
// pivot along an arc): where its track no longer gives the old placement at
// a frame within 1e-5, keys are added at such frames (linear) until every
// frame 0 ... the Motion's length, and the last key, does. False (nothing
// changed) for a Part index outside the Parts, a point that is not finite,
// or one PivotKeepsShape refuses.
bool MovePartPivot(Scene& scene, int part, Vec3 point);

// Whether single precision can hold Part part about a pivot at point: each
// of its vertices and its children's positions, moved by -point and back,
// lands within 1/1000 of the Part's size (the diagonal of their box) of
// where it was. A point tens of thousands of sizes away fails: the shape would be
// visibly lost. False for a Part index outside the Parts or a point that is
// not finite.
bool PivotKeepsShape(const Scene& scene, int part, Vec3 point);

// Accepted factors of ResizePart, inclusive.
constexpr float kMinPartScale = 0.0001f;
constexpr float kMaxPartScale = 10000.0f;
// Scales Part part's geometry by factor about its pivot; its children, its
// pose and every key stay as they are. False (nothing changed) for a Part
// outside the Parts, a factor outside kMinPartScale ... kMaxPartScale (or
// NaN), or one that would take a vertex beyond the float range.
bool ResizePart(Scene& scene, int part, float factor);

}  // namespace m3d
