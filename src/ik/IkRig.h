#pragma once

#include "anim/PoseEvaluation.h"
#include "scene/JointLimit.h"

#include <vector>

namespace m3d {

class Scene;

// What the inverse-kinematics solvers read of a model: every Part's parent
// (-1 or an earlier Part), partner (-1 or a Part) and joint limit, in Part
// order. Taken from a Scene once; the solvers never change it.
struct IkRig {
    std::vector<int> parents;
    std::vector<int> partners;
    std::vector<JointLimit> limits;

    int PartCount() const { return static_cast<int>(parents.size()); }
};

// The local pose of every Part, in Part order: what the solvers read and
// change. Only localMatrix's rotation is ever changed by a solve; its
// translation row and localPosition are kept (Parts stay rigid).
using LocalPose = std::vector<TrackPose>;

IkRig RigOf(const Scene& scene);
// Every Part's present localMatrix and localPosition.
LocalPose LocalPoseOf(const Scene& scene);
// Writes into the Scene the Parts of pose (one entry per Part) whose local
// pose differs from theirs, and recomposes the world transforms when any
// did. Returns how many Parts changed.
int ApplyLocalPose(Scene& scene, const LocalPose& pose);

// Whether two local poses are the same bit for bit.
bool SameLocalPose(const TrackPose& a, const TrackPose& b);

// The world matrix of Part part in pose, composed as the Scene composes it
// (WorldFromLocal down from its top-level ancestor); O(depth).
Matrix4 WorldMatrixIn(const IkRig& rig, const LocalPose& pose, int part);
// Where Part part's pivot is in the world in pose.
inline Vec3 PivotIn(const IkRig& rig, const LocalPose& pose, int part)
{
    return WorldMatrixIn(rig, pose, part).Translation();
}

// The Parts from root down to end, root first, when root is a strict
// ancestor of end; empty otherwise (either index outside the rig too).
std::vector<int> ChainParts(const IkRig& rig, int end, int root);

}  // namespace m3d
