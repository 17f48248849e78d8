#pragma once

#include "foreign/ForeignModel.h"

#include <vector>

namespace m3d {

// The value of channel at time (seconds) by the file's own rules: before the
// first key the first value, after the last the last one; between keys i and
// i + 1, with t = (time - t_i) / (t_{i+1} - t_i):
// - Linear: lerp, or for rotations the slerp along the shorter arc;
// - Step: key i's value;
// - CubicSpline: the Hermite curve through the values with key i's
//   out-tangent and key i + 1's in-tangent, each times the key interval
//   (glTF's rule); a rotation comes out normalised.
// out gets ForeignComponents(channel.path) floats. A channel without keys
// (or with fewer floats than its keys need) leaves out as it is.
void SampleChannel(const ForeignChannel& channel, double time, float* out);

// The local transform of every node of model at time in animation
// (an index into model.animations, or -1 for the file's rest pose): the
// node's own translation, rotation and scale where no channel of the
// animation overrides them.
struct NodeTransform {
    Vec3 translation;
    Quaternion rotation;
    Vec3 scale{1.0f, 1.0f, 1.0f};
};
std::vector<NodeTransform> NodeTransformsAt(const ForeignModel& model, int animation, double time);

// The last key time of animation (0 without keys).
double AnimationDuration(const ForeignAnimation& animation);

}  // namespace m3d
