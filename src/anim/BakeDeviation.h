#pragma once

#include "scene/Motion.h"

#include <cstdint>
#include <string>

namespace m3d {

// How far a track taken at every frame and blended linearly between frames
// (as an exporter's LINEAR keys are) strays from the editor's curve: the
// largest distance of the positions, in the editor's units, and the largest
// angle between the rotations, in degrees.
struct BakeDeviation {
    double length = 0.0;
    double degrees = 0.0;
};

// The larger of each of a's and b's figures.
BakeDeviation Larger(const BakeDeviation& a, const BakeDeviation& b);

// The deviation of track baked at every frame firstFrame ... lastFrame,
// measured at the middle of each frame step (where a chord strays furthest
// from a smooth curve): the editor's curve there (TrackSegment::AtTime)
// against the slerp and linear blend of the poses at the two frames.
// loopLength as for EvaluateTrack. Zero for a track of fewer than two keys.
BakeDeviation BakeDeviationOf(const MotionTrack& track, int firstFrame, int lastFrame, int32_t loopLength);

// What the export's message says of deviation: "各フレームに書き出した曲線の、
// フレームの間でのずれ: 最大 L（長さ）、D°" (translated); "" when nothing strays.
std::string BakeDeviationText(const BakeDeviation& deviation);

}  // namespace m3d
