#include "anim/PoseEvaluation.h"

#include "math/Quaternion.h"
#include "math/TimingCurves.h"
#include "scene/PoseComposition.h"
#include "scene/Scene.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

void QuaternionComponents(const KeyFrame& key, double out[4])
{
    const Quaternion q = QuaternionRotationMatrix(key.matrix);
    out[0] = q.x;
    out[1] = q.y;
    out[2] = q.z;
    out[3] = q.w;
}

void PositionComponents(const KeyFrame& key, double out[3])
{
    const Vec3 p = key.matrix.Translation();
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

// The pose a key gives at the start of its segment.
TrackPose KeyPose(const KeyFrame& key)
{
    return {MatrixRotationQuaternion(QuaternionRotationMatrix(key.matrix)), key.matrix.Translation()};
}

// The last key's pose, held after it.
TrackPose HeldPose(const KeyFrame& key) { return {key.matrix, key.matrix.Translation()}; }

}  // namespace

TrackSegment::TrackSegment(const MotionTrack& track, size_t i) : k0(track.keys[i]), k1(track.keys[i + 1])
{
    if (k0.interpolation.Kind() != InterpolationKind::Smooth) {
        arc = SlerpArcOf(QuaternionRotationMatrix(k0.matrix), QuaternionRotationMatrix(k1.matrix));
        return;
    }
    // Keys i - 1 ... i + 2, where the track has them.
    const std::vector<KeyFrame>& keys = track.keys;
    const size_t first = i > 0 ? i - 1 : i;
    const size_t last = std::min(i + 2, keys.size() - 1);
    double rotations[4][4], positions[4][3], frames[4];
    for (size_t k = first; k <= last; ++k) {
        QuaternionComponents(keys[k], rotations[k - first]);
        PositionComponents(keys[k], positions[k - first]);
        frames[k - first] = keys[k].frame;
        // On the hemisphere of the quaternion before.
        if (k == first) continue;
        double* r = rotations[k - first];
        const double* before = rotations[k - first - 1];
        if (r[0] * before[0] + r[1] * before[1] + r[2] * before[2] + r[3] * before[3] < 0.0)
            for (int c = 0; c < 4; ++c) r[c] = -r[c];
    }
    const size_t count = last - first + 1;
    const double span = frames[i + 1 - first] - frames[i - first];
    // The tangent at window position w, times the segment's span.
    const auto tangent = [&](size_t w, const auto& values, int c) {
        const size_t before = w > 0 ? w - 1 : w;
        const size_t after = w + 1 < count ? w + 1 : w;
        return (values[after][c] - values[before][c]) / (frames[after] - frames[before]) * span;
    };
    for (int end = 0; end < 2; ++end) {
        const size_t w = i + end - first;
        for (int c = 0; c < 4; ++c) {
            q[end][c] = rotations[w][c];
            qTangent[end][c] = tangent(w, rotations, c);
        }
        for (int c = 0; c < 3; ++c) {
            p[end][c] = positions[w][c];
            pTangent[end][c] = tangent(w, positions, c);
        }
    }
}

TrackPose TrackSegment::At(int frame) const
{
    const float t = k0.frame == k1.frame ? 0.0f
                                         : static_cast<float>(int64_t{frame} - k0.frame) /
                                               static_cast<float>(int64_t{k1.frame} - k0.frame);
    const KeyInterpolation& timing = k0.interpolation;
    if (t == 0.0f || timing.Kind() == InterpolationKind::Step) return KeyPose(k0);
    if (timing.Kind() == InterpolationKind::Smooth) return Smooth(t);
    const float s = timing.Kind() == InterpolationKind::Ease
                        ? static_cast<float>(EaseWeight(timing.X1(), timing.Y1(), timing.X2(), timing.Y2(), t))
                        : t;
    TrackPose pose;
    pose.localMatrix = MatrixRotationQuaternion(SlerpAlong(arc, s));
    const float r = 1.0f - s;
    const Vec3 p0 = k0.matrix.Translation();
    const Vec3 p1 = k1.matrix.Translation();
    pose.localPosition = {p0.x * r + p1.x * s, p0.y * r + p1.y * s, p0.z * r + p1.z * s};
    return pose;
}

TrackPose TrackSegment::Smooth(float t) const
{
    const HermiteBasis h = HermiteBasisAt(t);
    double rotation[4];
    double norm = 0.0;
    for (int c = 0; c < 4; ++c) {
        rotation[c] = h.h00 * q[0][c] + h.h10 * qTangent[0][c] + h.h01 * q[1][c] + h.h11 * qTangent[1][c];
        norm += rotation[c] * rotation[c];
    }
    norm = std::sqrt(norm);
    // Opposite rotations of a half turn blended to nothing have no direction:
    // the segment's first key holds there.
    if (!(norm > 1e-12)) return KeyPose(k0);
    TrackPose pose;
    pose.localMatrix =
        MatrixRotationQuaternion({static_cast<float>(rotation[0] / norm), static_cast<float>(rotation[1] / norm),
                                  static_cast<float>(rotation[2] / norm), static_cast<float>(rotation[3] / norm)});
    double position[3];
    for (int c = 0; c < 3; ++c)
        position[c] = h.h00 * p[0][c] + h.h10 * pTangent[0][c] + h.h01 * p[1][c] + h.h11 * pTangent[1][c];
    pose.localPosition = {static_cast<float>(position[0]), static_cast<float>(position[1]),
                          static_cast<float>(position[2])};
    return pose;
}

bool EvaluateTrack(const MotionTrack& track, int frame, TrackPose& out)
{
    if (frame < 0 || track.keys.empty()) return false;
    // The first key later than frame; keys are strictly ascending.
    const auto next = std::upper_bound(track.keys.begin(), track.keys.end(), frame,
                                       [](int f, const KeyFrame& key) { return f < key.frame; });
    if (next == track.keys.end()) {
        out = HeldPose(track.keys.back());
        return true;
    }
    // A track whose first key is after frame (only in damaged data) holds that key.
    if (next == track.keys.begin()) {
        out = KeyPose(*next);
        return true;
    }
    out = TrackSegment(track, static_cast<size_t>(next - track.keys.begin()) - 1).At(frame);
    return true;
}

bool TrackSampler::Sample(int frame, TrackPose& out)
{
    if (frame < 0 || track.keys.empty()) return false;
    while (next < track.keys.size() && track.keys[next].frame <= frame) ++next;
    if (next == track.keys.size()) {
        out = HeldPose(track.keys.back());
        return true;
    }
    // As EvaluateTrack: a track whose first key is after frame holds that key.
    if (next == 0) {
        out = KeyPose(track.keys[0]);
        return true;
    }
    if (segmentOf != next) {
        segment.emplace(track, next - 1);
        segmentOf = next;
    }
    out = segment->At(frame);
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
