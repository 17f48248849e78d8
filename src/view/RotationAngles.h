#pragma once

#include "math/Matrix4.h"

namespace m3d {

// Degrees to radians and back, with the factors the angle fields always used
// (so values typed, shown and stored agree to the last bit).
constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kRadiansToDegrees = 57.2957763671875f;

// A rotation as the user types it, in degrees: heading about +Y, pitch about
// +X, bank about +Z.
struct HeadingPitchBank {
    float h = 0.0f;
    float p = 0.0f;
    float b = 0.0f;
};

// The rotation that banks about Z, then pitches about X, then turns the
// heading about Y (row-vector convention). Any angles, in degrees.
Matrix4 RotationFromAngles(HeadingPitchBank angles);

// Heading, pitch and bank of the rotation part of m (its translation row is
// ignored). For a rotation built by RotationFromAngles with |P| < 90 this
// returns the same angles (within 1e-4 degrees) with H and B in (-180, 180]. When the forward axis
// points straight up or down, P is -90 or +90, B is 0 and the whole turn
// about the vertical goes into H. Expects a rotation; any finite matrix gives
// finite angles.
HeadingPitchBank AnglesFromMatrix(const Matrix4& m);

// Of the triples of angles that give the rotation part of m, the one nearest
// reference (the least sum of the three differences). Every rotation has two
// triples, (H, P, B) and (H + 180, 180 - P, B + 180), each angle also with
// any number of whole turns added; with the forward axis straight up or down
// (P within 0.001 of +-90) H and B turn about the same axis, and B is taken
// from reference. So a triple typed comes back as typed (within 1e-3 degrees)
// when it is the reference, and a rotation sampled over time keeps on from
// the one before. Any finite matrix and reference give finite angles.
HeadingPitchBank NearestAngles(const Matrix4& m, HeadingPitchBank reference);
// NearestAngles of the rotation whose AnglesFromMatrix are angles: the same
// triple without working the angles out of a matrix again.
HeadingPitchBank NearestOfAngles(HeadingPitchBank angles, HeadingPitchBank reference);

}  // namespace m3d
