#include "anim/PoseEvaluation.h"

#include "math/Quaternion.h"
#include "scene/PoseComposition.h"
#include "scene/Scene.h"

#include <algorithm>

namespace m3d {

TrackPose InterpolateKeys(const KeyFrame& k0, const KeyFrame& k1, int frame)
{
    return InterpolateKeys(k0, k1, SlerpArcOf(QuaternionRotationMatrix(k0.matrix), QuaternionRotationMatrix(k1.matrix)),
                           frame);
}

TrackPose InterpolateKeys(const KeyFrame& k0, const KeyFrame& k1, const SlerpArc& arc, int frame)
{
    const float t = k0.frame == k1.frame ? 0.0f
                                         : static_cast<float>(int64_t{frame} - k0.frame) /
                                               static_cast<float>(int64_t{k1.frame} - k0.frame);
    TrackPose pose;
    pose.localMatrix = MatrixRotationQuaternion(SlerpAlong(arc, t));
    const float s = 1.0f - t;
    const Vec3 p0 = k0.matrix.Translation();
    const Vec3 p1 = k1.matrix.Translation();
    pose.localPosition = {p0.x * s + p1.x * t, p0.y * s + p1.y * t, p0.z * s + p1.z * t};
    return pose;
}

bool EvaluateTrack(const MotionTrack& track, int frame, TrackPose& out)
{
    if (frame < 0 || track.keys.empty()) return false;
    // The first key later than frame; keys are strictly ascending.
    const auto next = std::upper_bound(track.keys.begin(), track.keys.end(), frame,
                                       [](int f, const KeyFrame& key) { return f < key.frame; });
    if (next == track.keys.end()) {
        const KeyFrame& last = track.keys.back();
        out.localMatrix = last.matrix;
        out.localPosition = last.matrix.Translation();
        return true;
    }
    // A track whose first key is after frame (only in damaged data) holds that key.
    const KeyFrame& k1 = *next;
    const KeyFrame& k0 = next == track.keys.begin() ? k1 : *(next - 1);
    out = InterpolateKeys(k0, k1, frame);
    return true;
}

bool TrackSampler::Sample(int frame, TrackPose& out)
{
    if (frame < 0 || track.keys.empty()) return false;
    while (next < track.keys.size() && track.keys[next].frame <= frame) ++next;
    if (next == track.keys.size()) {
        const KeyFrame& last = track.keys.back();
        out.localMatrix = last.matrix;
        out.localPosition = last.matrix.Translation();
        return true;
    }
    // As EvaluateTrack: a track whose first key is after frame holds that key.
    const KeyFrame& k1 = track.keys[next];
    const KeyFrame& k0 = next == 0 ? k1 : track.keys[next - 1];
    if (arcOf != next) {
        arc = SlerpArcOf(QuaternionRotationMatrix(k0.matrix), QuaternionRotationMatrix(k1.matrix));
        arcOf = next;
    }
    out = InterpolateKeys(k0, k1, arc, frame);
    return true;
}

TrackPose PartPoseAt(const Scene& scene, const Motion& motion, int part, int frame)
{
    const Part& p = *scene.Parts()[part];
    TrackPose pose{p.localMatrix, p.localPosition};
    if (part < static_cast<int>(motion.tracks.size())) EvaluateTrack(motion.tracks[part], frame, pose);
    return pose;
}

std::vector<Matrix4> WorldPoseAt(const Scene& scene, const Motion& motion, int frame)
{
    std::vector<Matrix4> worlds(scene.Parts().size());
    for (int i = 0; i < scene.PartCount(); ++i) {
        const Part& part = *scene.Parts()[i];
        TrackPose pose{part.localMatrix, part.localPosition};
        if (i < static_cast<int>(motion.tracks.size())) EvaluateTrack(motion.tracks[i], frame, pose);
        // Parents precede their children, so a parent's world is ready.
        const int parent = part.parentIndex;
        const Matrix4* parentWorld = parent >= 0 && parent < i ? &worlds[parent] : nullptr;
        worlds[i] = WorldFromLocal(pose.localMatrix, pose.localPosition, parentWorld);
    }
    return worlds;
}

void EvaluatePose(Scene& scene, int motion, int frame)
{
    if (motion < 0 || motion >= scene.MotionCount()) return;
    EvaluatePose(scene, scene.Motions()[motion], frame);
}

void EvaluatePose(Scene& scene, const Motion& m, int frame)
{
    if (frame < 0) return;
    const int count = std::min(static_cast<int>(m.tracks.size()), scene.PartCount());
    for (int i = 0; i < count; ++i) {
        TrackPose pose;
        if (!EvaluateTrack(m.tracks[i], frame, pose)) continue;
        Part& part = *scene.Parts()[i];
        part.localMatrix = pose.localMatrix;
        part.localPosition = pose.localPosition;
    }
    if (scene.PartCount() > 0) scene.UpdateHierarchy(0);
}

}  // namespace m3d
