#pragma once

#include "scene/Motion.h"
#include "math/Matrix4.h"
#include "math/Quaternion.h"

#include <cstdint>
#include <vector>

namespace m3d {

class Scene;

// The local transform a track gives its Part at one frame.
struct TrackPose {
    Matrix4 localMatrix;
    Vec3 localPosition;
};

// The pose between two keys at frame (k0.frame <= frame <= k1.frame): the
// slerp of their rotations and the linear blend of their positions at
// t = (frame - k0.frame) / (k1.frame - k0.frame), computed in float; t = 0
// when the two keys share a frame.
TrackPose InterpolateKeys(const KeyFrame& k0, const KeyFrame& k1, int frame);
// The same with the arc between the keys' rotations given (SlerpArcOf the
// QuaternionRotationMatrix of their matrices), for callers that reuse it from
// frame to frame.
TrackPose InterpolateKeys(const KeyFrame& k0, const KeyFrame& k1, const SlerpArc& arc, int frame);

// Pose of a track at frame (>= 0): at or after the last key, the last key's
// matrix whole (translation row included) and its translation as position;
// between two keys, the slerp of their rotations and the linear blend of their
// positions at t = (frame - k0) / (k1 - k0). Returns false and leaves out
// untouched for a negative frame or a track without keys. Pure: usable by
// anything that needs a pose without a Scene.
bool EvaluateTrack(const MotionTrack& track, int frame, TrackPose& out);

// EvaluateTrack at frames that never go down, each in the same bits, for
// many frames of one track: the place in the track and the arc between the
// rotations of the two keys around the frame are kept from frame to frame.
// The track must outlive the sampler and stay unchanged.
class TrackSampler {
public:
    explicit TrackSampler(const MotionTrack& track) : track(track) {}
    // EvaluateTrack(track, frame, out); frame must not be lower than the last one.
    bool Sample(int frame, TrackPose& out);

private:
    const MotionTrack& track;
    size_t next = 0;          // the first key later than the last frame sampled
    size_t arcOf = SIZE_MAX;  // the value of next the arc below belongs to
    SlerpArc arc;
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
