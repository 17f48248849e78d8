#include "anim/PoseEvaluation.h"

#include "math/Quaternion.h"
#include "math/TimingCurves.h"
#include "scene/PoseComposition.h"
#include "scene/Scene.h"
#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// Keys first ... last of keys into out[0 ...] as SplineKey values, each
// quaternion on the hemisphere of the one before; tangents are not set.
void SplinePoints(const std::vector<KeyFrame>& keys, size_t first, size_t last, SplineKey* out)
{
    for (size_t k = first; k <= last; ++k) {
        SplineKey& point = out[k - first];
        const Quaternion q = QuaternionRotationMatrix(keys[k].matrix);
        const Vec3 p = keys[k].matrix.Translation();
        const double rotation[4] = {q.x, q.y, q.z, q.w};
        const double position[3] = {p.x, p.y, p.z};
        std::copy(rotation, rotation + 4, point.rotation);
        std::copy(position, position + 3, point.position);
        if (k == first) continue;
        const double* before = out[k - first - 1].rotation;
        if (rotation[0] * before[0] + rotation[1] * before[1] + rotation[2] * before[2] + rotation[3] * before[3] < 0.0)
            for (double& c : point.rotation) c = -c;
    }
}

// The tangents of key k, points holding keys first ... and k's neighbours.
void SetSplineTangents(const std::vector<KeyFrame>& keys, size_t first, size_t k, SplineKey* points)
{
    const size_t before = k > 0 ? k - 1 : k;
    const size_t after = k + 1 < keys.size() ? k + 1 : k;
    const SplineKey& b = points[before - first];
    const SplineKey& a = points[after - first];
    const double frames = static_cast<double>(keys[after].frame) - keys[before].frame;
    SplineKey& point = points[k - first];
    for (int c = 0; c < 4; ++c)
        point.rotationTangent[c] = frames != 0.0 ? (a.rotation[c] - b.rotation[c]) / frames : 0.0;
    for (int c = 0; c < 3; ++c)
        point.positionTangent[c] = frames != 0.0 ? (a.position[c] - b.position[c]) / frames : 0.0;
}

// The pose a key gives at the start of its segment.
TrackPose KeyPose(const KeyFrame& key)
{
    return {MatrixRotationQuaternion(QuaternionRotationMatrix(key.matrix)), key.matrix.Translation()};
}

// The last key's pose, held after it.
TrackPose HeldPose(const KeyFrame& key) { return {key.matrix, key.matrix.Translation()}; }

}  // namespace

int32_t LoopLengthOf(const Motion& motion) { return motion.loop ? motion.length : 0; }

std::vector<SplineKey> SplineKeysOf(const MotionTrack& track)
{
    std::vector<SplineKey> points(track.keys.size());
    if (points.empty()) return points;
    SplinePoints(track.keys, 0, points.size() - 1, points.data());
    for (size_t k = 0; k < points.size(); ++k) SetSplineTangents(track.keys, 0, k, points.data());
    return points;
}

TrackSegment::TrackSegment(const MotionTrack& track, size_t i, int32_t loopLength)
    : k0(track.keys[i]), k1(track.keys[i + 1])
{
    if (k0.interpolation.Kind() == InterpolationKind::Bezier) {
        WindowKey window[4];
        size_t first = 0;
        const size_t n = BezierWindowOf(track, i, i + 1, loopLength, window, &first);
        BezierKey keys[4];
        BezierKeysOf(track, window, n, k0.interpolation.Tangents(), keys);
        const double span = static_cast<double>(k1.frame) - k0.frame;
        double slopes[2][kBezierChannels];
        BezierSlopes(keys, n, first, 1, slopes[0]);
        BezierSlopes(keys, n, first + 1, -1, slopes[1]);
        const bool ownOut = HasOwnHandles(k0.interpolation.Tangents());
        const bool ownIn =
            k1.interpolation.Kind() == InterpolationKind::Bezier && HasOwnHandles(k1.interpolation.Tangents());
        for (int c = 0; c < kBezierChannels; ++c) {
            const double v0 = keys[first].values[c], v1 = keys[first + 1].values[c];
            // Each handle as a share of the segment's frames and a value offset.
            double out[2] = {1.0 / 3.0, slopes[0][c] * span / 3.0};
            double in[2] = {1.0 / 3.0, -slopes[1][c] * span / 3.0};
            if (ownOut) out[0] = k0.handles.outFrames[c] / span, out[1] = k0.handles.outValues[c];
            if (ownIn) in[0] = -k1.handles.inFrames[c] / span, in[1] = k1.handles.inValues[c];
            out[0] = std::clamp(out[0], 0.0, 1.0);
            in[0] = std::clamp(in[0], 0.0, 1.0);
            // Handles that reach past each other are shortened together, so
            // that time keeps running forwards along the curve.
            if (out[0] + in[0] > 1.0) {
                const double shorten = 1.0 / (out[0] + in[0]);
                for (double* handle : {out, in}) handle[0] *= shorten, handle[1] *= shorten;
            }
            bezier.values[c] = {v0, v0 + out[1], v1 + in[1], v1};
            bezier.times[c] = {out[0], 1.0 - in[0]};
        }
        return;
    }
    if (k0.interpolation.Kind() != InterpolationKind::Smooth) {
        arc = SlerpArcOf(QuaternionRotationMatrix(k0.matrix), QuaternionRotationMatrix(k1.matrix));
        return;
    }
    // Keys i - 1 ... i + 2, where the track has them.
    const std::vector<KeyFrame>& keys = track.keys;
    const size_t first = i > 0 ? i - 1 : i;
    const size_t last = std::min(i + 2, keys.size() - 1);
    SplineKey window[4];
    SplinePoints(keys, first, last, window);
    const double span = static_cast<double>(k1.frame) - k0.frame;
    for (int end = 0; end < 2; ++end) {
        SetSplineTangents(keys, first, i + end, window);
        ends[end] = window[i + end - first];
        for (double& tangent : ends[end].rotationTangent) tangent *= span;
        for (double& tangent : ends[end].positionTangent) tangent *= span;
    }
}

TrackPose TrackSegment::At(int frame) const
{
    return AtFraction(k0.frame == k1.frame ? 0.0f
                                           : static_cast<float>(int64_t{frame} - k0.frame) /
                                                 static_cast<float>(int64_t{k1.frame} - k0.frame));
}

TrackPose TrackSegment::AtTime(double frame) const
{
    return AtFraction(k0.frame == k1.frame ? 0.0f
                                           : static_cast<float>((frame - k0.frame) / (double(k1.frame) - k0.frame)));
}

TrackPose TrackSegment::AtFraction(float t) const
{
    const KeyInterpolation& timing = k0.interpolation;
    if (t == 0.0f || timing.Kind() == InterpolationKind::Step) return KeyPose(k0);
    if (timing.Kind() == InterpolationKind::Smooth) return Smooth(t);
    if (timing.Kind() == InterpolationKind::Bezier) return Bezier(t);
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
    const SplineKey& a = ends[0];
    const SplineKey& b = ends[1];
    double rotation[4];
    double norm = 0.0;
    for (int c = 0; c < 4; ++c) {
        rotation[c] =
            h.h00 * a.rotation[c] + h.h10 * a.rotationTangent[c] + h.h01 * b.rotation[c] + h.h11 * b.rotationTangent[c];
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
        position[c] =
            h.h00 * a.position[c] + h.h10 * a.positionTangent[c] + h.h01 * b.position[c] + h.h11 * b.positionTangent[c];
    pose.localPosition = {static_cast<float>(position[0]), static_cast<float>(position[1]),
                          static_cast<float>(position[2])};
    return pose;
}

TrackPose TrackSegment::Bezier(float t) const
{
    double v[kBezierChannels];
    for (int c = 0; c < kBezierChannels; ++c) {
        const auto& [x1, x2] = bezier.times[c];
        // Handles a third of the way in time make time the curve's parameter.
        const double u = x1 == 1.0 / 3.0 && x2 == 1.0 - 1.0 / 3.0 ? t : BezierParameterAt(x1, x2, t);
        const double w = 1.0 - u;
        const auto& p = bezier.values[c];
        v[c] = w * w * w * p[0] + 3.0 * w * w * u * p[1] + 3.0 * w * u * u * p[2] + u * u * u * p[3];
    }
    TrackPose pose;
    pose.localMatrix =
        RotationFromAngles({static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])});
    pose.localPosition = {static_cast<float>(v[3]), static_cast<float>(v[4]), static_cast<float>(v[5])};
    return pose;
}

bool EvaluateTrack(const MotionTrack& track, int frame, TrackPose& out, int32_t loopLength)
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
    out = TrackSegment(track, static_cast<size_t>(next - track.keys.begin()) - 1, loopLength).At(frame);
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
        segment.emplace(track, next - 1, loopLength);
        segmentOf = next;
    }
    out = segment->At(frame);
    return true;
}

TrackPose PartPoseAt(const Scene& scene, const Motion& motion, int part, int frame)
{
    const Part& p = *scene.Parts()[part];
    TrackPose pose{p.localMatrix, p.localPosition};
    if (part < static_cast<int>(motion.tracks.size()))
        EvaluateTrack(motion.tracks[part], frame, pose, LoopLengthOf(motion));
    return pose;
}

std::vector<Matrix4> WorldPoseAt(const Scene& scene, const Motion& motion, int frame)
{
    std::vector<Matrix4> worlds(scene.Parts().size());
    for (int i = 0; i < scene.PartCount(); ++i) {
        const Part& part = *scene.Parts()[i];
        TrackPose pose{part.localMatrix, part.localPosition};
        if (i < static_cast<int>(motion.tracks.size()))
            EvaluateTrack(motion.tracks[i], frame, pose, LoopLengthOf(motion));
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
        if (!EvaluateTrack(m.tracks[i], frame, pose, LoopLengthOf(m))) continue;
        Part& part = *scene.Parts()[i];
        part.localMatrix = pose.localMatrix;
        part.localPosition = pose.localPosition;
    }
    if (scene.PartCount() > 0) scene.UpdateHierarchy(0);
}

}  // namespace m3d
