#pragma once

#include "anim/BezierSlopes.h"
#include "scene/Motion.h"
#include "math/Matrix4.h"
#include "math/Quaternion.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace m3d {

class Scene;

// The local transform a track gives its Part at one frame.
struct TrackPose {
    Matrix4 localMatrix;
    Vec3 localPosition;
};

// A key as the Smooth interpolation sees it: the quaternion components
// (x, y, z, w) of its rotation, taken on the hemisphere of the key before it,
// and its position, each with its tangent per frame: the difference of the
// key's neighbours over their frames, or at the track's ends of the key and
// its one neighbour (0 for a track of one key).
struct SplineKey {
    double rotation[4], rotationTangent[4];
    double position[3], positionTangent[3];
};

// Every key of track as above, in key order, the first key's quaternion as
// QuaternionRotationMatrix gives it. A Smooth segment from key i is the cubic
// Hermite from key i to key i + 1 through these values and tangents (times
// the frames between the keys), its rotation normalised.
std::vector<SplineKey> SplineKeysOf(const MotionTrack& track);

// The segment of a track from key i to key i + 1, ready to be evaluated at
// any frame between them. With f0, f1 the two keys' frames and
// t = (frame - f0) / (f1 - f0) (in float), the first key's interpolation
// decides the pose:
// - Linear: the slerp of the keys' rotations (QuaternionSlerp) and the
//   linear blend of their positions, at t;
// - Ease: the same at EaseWeight of the key's curve at t;
// - Step: the first key's pose;
// - Smooth: the cubic Hermite through the keys, each key's tangent being the
//   difference of its neighbours over their frames (at the track's ends, of
//   the key and its one neighbour); for rotations on the quaternion
//   components, each quaternion first taken on the hemisphere of the one
//   before it, the result normalised. Worked in double, returned in float;
// - Bezier: each channel (BezierSlopes.h) the cubic Bezier curve from the
//   first key to the second through the handles of their facing sides: a
//   key's own handles when its mode has them, else a third of the way in
//   time at the slope its mode gives (a cubic Hermite); handles reaching
//   past each other are shortened together, and where they are not at
//   thirds the curve is solved for its parameter at the frame. The angles
//   of keys i - 1 ... i + 2 unwrapped from the first of them; the rotation
//   rebuilt from the angles (RotationFromAngles). In a loop whose
//   track is keyed at frame 0 and at the last frame (where the curve wraps),
//   the neighbour of the first key is the key before the last one, a loop's
//   length earlier, and that of the last key is key 1, a length later.
// At t = 0 every kind gives the first key's rotation (through a quaternion)
// and its exact position. The track must outlive the segment, unchanged.
class TrackSegment {
public:
    // i + 1 must be a key of track; loopLength is the length of the loop the
    // track belongs to (LoopLengthOf), 0 for none.
    TrackSegment(const MotionTrack& track, size_t i, int32_t loopLength = 0);
    // The pose at frame, which should lie within the two keys' frames.
    TrackPose At(int frame) const;
    // The pose at a time between whole frames (in frames), within the keys':
    // the curve between the poses the frames show.
    TrackPose AtTime(double frame) const;

    // A Bezier segment's curves: each channel's control values (the first
    // key's, its out handle's, the second key's in handle's, the second
    // key's) and the handles' places in time as shares of the segment.
    struct BezierControls {
        std::array<std::array<double, 4>, kBezierChannels> values{};
        std::array<std::array<double, 2>, kBezierChannels> times{};
    };
    // This segment's curves when its first key is a Bezier key; null otherwise.
    const BezierControls* Controls() const
    {
        return k0.interpolation.Kind() == InterpolationKind::Bezier ? &bezier : nullptr;
    }

private:
    // The pose at t, the share of the segment from the first key (0 ... 1).
    TrackPose AtFraction(float t) const;
    TrackPose Smooth(float t) const;
    TrackPose Bezier(float t) const;

    const KeyFrame& k0;
    const KeyFrame& k1;
    SlerpArc arc;  // Linear, Ease and Step
    // Smooth: the two keys, their tangents times the frames between the keys;
    // unset otherwise.
    SplineKey ends[2];
    BezierControls bezier;  // Bezier; unset otherwise
};

// Pose of a track at frame (>= 0): at or after the last key, the last key's
// matrix whole (translation row included) and its translation as position;
// between two keys, as the TrackSegment between them gives it. Returns false
// and leaves out untouched for a negative frame or a track without keys.
// Pure: usable by anything that needs a pose without a Scene. loopLength as
// for TrackSegment.
bool EvaluateTrack(const MotionTrack& track, int frame, TrackPose& out, int32_t loopLength = 0);

// The length of motion's cycle for the evaluations above: its length when it
// loops, else 0.
int32_t LoopLengthOf(const Motion& motion);

// EvaluateTrack at frames that never go down, each in the same bits, for
// many frames of one track: the place in the track and the segment around
// the frame are kept from frame to frame. The track must outlive the sampler
// and stay unchanged.
class TrackSampler {
public:
    explicit TrackSampler(const MotionTrack& track, int32_t loopLength = 0) : track(track), loopLength(loopLength) {}
    // EvaluateTrack(track, frame, out, loopLength); frame must not be lower than the last one.
    bool Sample(int frame, TrackPose& out);

private:
    const MotionTrack& track;
    int32_t loopLength;
    size_t next = 0;                      // the first key later than the last frame sampled
    size_t segmentOf = SIZE_MAX;          // the value of next the segment below belongs to
    std::optional<TrackSegment> segment;  // the segment ending at key next
};

// The pose EvaluatePose would give Part part (a valid index) at frame,
// without writing it: its track's pose, or its current pose when the Motion
// has no keys for it.
TrackPose PartPoseAt(const Scene& scene, const Motion& motion, int part, int frame);

// The world matrix of every Part, in Part order, that EvaluatePose(motion,
// frame) followed by WorldMatrixOf would give, without changing the Scene.
// A negative frame gives the present pose's.
std::vector<Matrix4> WorldPoseAt(const Scene& scene, const Motion& motion, int frame);

// Writes the pose of Motion motion at frame into every Part whose track has
// keys, then recomposes the world transforms. A negative motion index or
// frame, or a motion index outside the list, changes nothing.
void EvaluatePose(Scene& scene, int motion, int frame);
// The same for a Motion that need not be one of the Scene's (a copy kept
// while the Scene's own is being rewritten). A negative frame changes nothing.
void EvaluatePose(Scene& scene, const Motion& motion, int frame);

}  // namespace m3d
