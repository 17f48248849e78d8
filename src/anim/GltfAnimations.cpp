#include "anim/GltfAssembly.h"

#include "anim/GltfAxes.h"
#include "anim/PoseEvaluation.h"
#include "anim/XFileContentBuilder.h"
#include "scene/Scene.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace m3d {

namespace {

// How the two channels of one Part carry its track in one Motion.
enum class ChannelForm {
    Linear,      // its poses at the Motion's key frames, blended as glTF's LINEAR
    Step,        // its poses at the Motion's key frames, each held until the next
    Spline,      // its own keys as glTF's CUBICSPLINE
    EveryFrame,  // its poses at every frame, blended as glTF's LINEAR
};

// A track whose segments share one kind keeps it: between two keys the
// editor blends linearly as glTF's LINEAR does, holds as STEP does, and its
// smooth curve is the cubic Hermite CUBICSPLINE is; a smooth track whose
// keys run past lastFrame without one on it would need a segment cut short,
// which a spline key cannot express. Everything else (eases, mixed kinds) is
// taken at every frame.
ChannelForm FormOf(const Motion& motion, int part, int lastFrame)
{
    if (part >= static_cast<int>(motion.tracks.size())) return ChannelForm::Linear;
    const MotionTrack& track = motion.tracks[part];
    const std::optional<InterpolationKind> kind = SharedInterpolationKind(track, lastFrame);
    if (kind == InterpolationKind::Linear) return ChannelForm::Linear;
    if (kind == InterpolationKind::Step) return ChannelForm::Step;
    if (kind == InterpolationKind::Smooth && (track.keys.back().frame <= lastFrame || track.FindKey(lastFrame) >= 0))
        return ChannelForm::Spline;
    return ChannelForm::EveryFrame;
}

// The output of a Part's two channels, in glTF's axes.
struct ChannelValues {
    std::vector<float> translations;  // x, y, z per element
    std::vector<float> rotations;     // x, y, z, w per element
};

int AddTimes(const std::vector<int>& frames, int framesPerSecond, GltfBuffer& buffer)
{
    std::vector<float> times;
    times.reserve(frames.size());
    for (int frame : frames) times.push_back(static_cast<float>(static_cast<double>(frame) / framesPerSecond));
    return buffer.AddFloats(times, 1, GltfBuffer::kNoTarget, true);
}

// The Part's poses at frames, each rotation on the side of the one before so
// that a slerp between neighbours takes the shorter arc, as the editor does.
ChannelValues PosesAt(const Scene& scene, const Motion& motion, int part, const std::vector<int>& frames)
{
    ChannelValues values;
    values.translations.reserve(frames.size() * 3);
    values.rotations.reserve(frames.size() * 4);
    Quaternion previous;
    for (int frame : frames) {
        const TrackPose pose = PartPoseAt(scene, motion, part, frame);
        const Vec3 t = GltfPoint(pose.localPosition);
        const Quaternion r = NearestSign(GltfRotation(pose.localMatrix), previous);
        previous = r;
        values.translations.insert(values.translations.end(), {t.x, t.y, t.z});
        values.rotations.insert(values.rotations.end(), {r.x, r.y, r.z, r.w});
    }
    return values;
}

// Appends one CUBICSPLINE element (in-tangent, value, out-tangent) of count
// components to out.
void AppendSplineElement(const double* value, const double* tangent, int count, std::vector<float>& out)
{
    for (const double* part : {tangent, value, tangent})
        for (int c = 0; c < count; ++c) out.push_back(static_cast<float>(part[c]));
}

// The track's keys up to lastFrame as CUBICSPLINE elements, tangents per
// second; when the track ends before lastFrame, its last pose is held there
// by a key of flat tangents. Returns the frames of the elements.
// Mirroring Z negates a quaternion's x and y (GltfRotation) and a position's
// z: linear maps, so the Hermite of the mirrored keys and tangents is the
// mirrored Hermite, and as the map keeps dot products, keys the editor took
// on one hemisphere stay on one. Each quaternion is scaled to unit length,
// its tangents with it.
std::vector<int> SplineOf(const MotionTrack& track, int lastFrame, int framesPerSecond, ChannelValues& values)
{
    const std::vector<SplineKey> spline = SplineKeysOf(track);
    std::vector<int> frames;
    const double mirrorP[3] = {1.0, 1.0, -1.0};
    double rotation[4] = {}, rotationTangent[4] = {}, position[3] = {}, positionTangent[3] = {};
    for (size_t k = 0; k < spline.size() && track.keys[k].frame <= lastFrame; ++k) {
        const SplineKey& key = spline[k];
        const double* q = key.rotation;
        const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
        const double scale = length > 1e-12 ? 1.0 / length : 1.0;
        const double mirrorQ[4] = {-scale, -scale, scale, scale};
        for (int c = 0; c < 4; ++c) {
            rotation[c] = mirrorQ[c] * q[c];
            rotationTangent[c] = mirrorQ[c] * key.rotationTangent[c] * framesPerSecond;
        }
        for (int c = 0; c < 3; ++c) {
            position[c] = mirrorP[c] * key.position[c];
            positionTangent[c] = mirrorP[c] * key.positionTangent[c] * framesPerSecond;
        }
        AppendSplineElement(rotation, rotationTangent, 4, values.rotations);
        AppendSplineElement(position, positionTangent, 3, values.translations);
        frames.push_back(track.keys[k].frame);
    }
    if (frames.back() < lastFrame) {
        // Flat out of the last key, into the same pose again on lastFrame.
        const double flat[4] = {};
        std::fill(values.rotations.end() - 4, values.rotations.end(), 0.0f);
        std::fill(values.translations.end() - 3, values.translations.end(), 0.0f);
        AppendSplineElement(rotation, flat, 4, values.rotations);
        AppendSplineElement(position, flat, 3, values.translations);
        frames.push_back(lastFrame);
    }
    return frames;
}

// Appends one CUBICSPLINE element of three components with its own in- and
// out-tangents.
void AppendPositionElement(const double* in, const double* value, const double* out, std::vector<float>& to)
{
    for (const double* part : {in, value, out})
        for (int c = 0; c < 3; ++c) to.push_back(static_cast<float>(part[c]));
}

// The track's positions up to lastFrame as CUBICSPLINE elements, when every
// segment there is linear or a Bezier segment whose x, y, z handles lie a
// third of the way in time (the cubic Hermite glTF's splines are), with at
// least one Bezier segment, and the keys end on lastFrame or before (a
// last pose short of it is held by a flat element there). Tangents per
// second, mirrored into glTF's axes as the positions are. Returns the
// elements' frames; empty (nothing appended) when the track's positions are
// no such spline.
std::vector<int> BezierPositionSpline(const MotionTrack& track, int lastFrame, int32_t loopLength, int framesPerSecond,
                                      std::vector<float>& out)
{
    const size_t count = track.keys.size();
    if (count < 2 || (track.keys.back().frame > lastFrame && track.FindKey(lastFrame) < 0)) return {};
    size_t last = 0;  // the last key within lastFrame
    while (last + 1 < count && track.keys[last + 1].frame <= lastFrame) ++last;
    if (last == 0) return {};
    // Each segment's tangents at its two ends, per frame.
    std::vector<std::array<double, 3>> outTangent(last + 1), inTangent(last + 1);
    bool anyBezier = false;
    for (size_t k = 0; k < last; ++k) {
        const KeyFrame &a = track.keys[k], &b = track.keys[k + 1];
        const double span = double(b.frame) - a.frame;
        const InterpolationKind kind = a.interpolation.Kind();
        if (kind == InterpolationKind::Linear) {
            const Vec3 p0 = a.matrix.Translation(), p1 = b.matrix.Translation();
            const double secant[3] = {(p1.x - p0.x) / span, (p1.y - p0.y) / span, (p1.z - p0.z) / span};
            for (int c = 0; c < 3; ++c) outTangent[k][c] = inTangent[k + 1][c] = secant[c];
            continue;
        }
        if (kind != InterpolationKind::Bezier) return {};
        const TrackSegment segment(track, k, loopLength);
        const TrackSegment::BezierControls& controls = *segment.Controls();
        for (int c = 0; c < 3; ++c) {
            const auto& [x1, x2] = controls.times[size_t(3 + c)];
            if (std::fabs(x1 - 1.0 / 3.0) > 1e-6 || std::fabs(x2 - 2.0 / 3.0) > 1e-6) return {};
            const auto& v = controls.values[size_t(3 + c)];
            outTangent[k][c] = 3.0 * (v[1] - v[0]) / span;
            inTangent[k + 1][c] = 3.0 * (v[3] - v[2]) / span;
        }
        anyBezier = true;
    }
    if (!anyBezier) return {};
    inTangent[0] = outTangent[0];
    outTangent[last] = inTangent[last];
    const bool held = track.keys[last].frame < lastFrame;
    if (held) outTangent[last] = {0.0, 0.0, 0.0};
    std::vector<int> frames;
    const double mirror[3] = {1.0, 1.0, -1.0};
    double in[3], value[3], tangentOut[3];
    for (size_t k = 0; k <= last; ++k) {
        const Vec3 p = track.keys[k].matrix.Translation();
        const double position[3] = {p.x, p.y, p.z};
        for (int c = 0; c < 3; ++c) {
            value[c] = mirror[c] * position[c];
            in[c] = mirror[c] * inTangent[k][size_t(c)] * framesPerSecond;
            tangentOut[c] = mirror[c] * outTangent[k][size_t(c)] * framesPerSecond;
        }
        AppendPositionElement(in, value, tangentOut, out);
        frames.push_back(track.keys[k].frame);
    }
    if (held) {
        const double flat[3] = {};
        AppendPositionElement(flat, value, flat, out);
        frames.push_back(lastFrame);
    }
    return frames;
}

// One sampler of output over the time accessor input, and its channel.
void AddChannel(nlohmann::json& animation, int input, int output, const char* interpolation, int node, const char* path)
{
    animation["samplers"].push_back({{"input", input}, {"output", output}, {"interpolation", interpolation}});
    animation["channels"].push_back(
        {{"sampler", animation["samplers"].size() - 1}, {"target", {{"node", node}, {"path", path}}}});
}

// Every Part's channels share the time accessor of the Motion's key frames,
// except those of a spline (its own keys) and those taken at every frame
// (one accessor of every frame, added when a Part first needs it). With
// choices.bakeEveryFrame every channel is taken at every frame.
nlohmann::json BuildAnimation(const Scene& scene, const Motion& motion, const std::vector<int>& nodeOfPart,
                              int framesPerSecond, const GltfChoices& choices, GltfBuffer& buffer, BakeDeviation& baked)
{
    const std::vector<int> frames = MotionKeyFrames(motion);
    const int lastFrame = frames.back();
    const int keyTimes = AddTimes(frames, framesPerSecond, buffer);
    std::vector<int> everyFrame;
    int everyFrameTimes = -1;

    nlohmann::json animation = {
        {"name", motion.name}, {"samplers", nlohmann::json::array()}, {"channels", nlohmann::json::array()}};
    for (int p = 0; p < scene.PartCount(); ++p) {
        if (nodeOfPart[p] < 0) continue;
        ChannelValues values;
        int input = keyTimes, rotationInput = -1;
        const char* interpolation = "LINEAR";
        const auto everyFrameInput = [&] {
            if (everyFrameTimes < 0) {
                for (int frame = frames.front(); frame <= lastFrame; ++frame) everyFrame.push_back(frame);
                everyFrameTimes = AddTimes(everyFrame, framesPerSecond, buffer);
            }
            return everyFrameTimes;
        };
        switch (choices.bakeEveryFrame ? ChannelForm::EveryFrame : FormOf(motion, p, lastFrame)) {
        case ChannelForm::Linear: values = PosesAt(scene, motion, p, frames); break;
        case ChannelForm::Step:
            values = PosesAt(scene, motion, p, frames);
            interpolation = "STEP";
            break;
        case ChannelForm::Spline:
            input = AddTimes(SplineOf(motion.tracks[p], lastFrame, framesPerSecond, values), framesPerSecond, buffer);
            interpolation = "CUBICSPLINE";
            break;
        case ChannelForm::EveryFrame: {
            input = everyFrameInput();
            values = PosesAt(scene, motion, p, everyFrame);
            // Positions that are one Hermite spline keep it exactly; the
            // rotations (curves of angles, which glTF cannot carry) stay baked.
            std::vector<float> spline;
            const std::vector<int> splineFrames =
                choices.bakeEveryFrame || p >= int(motion.tracks.size())
                    ? std::vector<int>{}
                    : BezierPositionSpline(motion.tracks[size_t(p)], lastFrame, LoopLengthOf(motion), framesPerSecond,
                                           spline);
            if (!splineFrames.empty()) {
                rotationInput = input;
                input = AddTimes(splineFrames, framesPerSecond, buffer);
                values.translations = std::move(spline);
                interpolation = "CUBICSPLINE";
            }
            if (p < int(motion.tracks.size())) {
                BakeDeviation deviation =
                    BakeDeviationOf(motion.tracks[size_t(p)], frames.front(), lastFrame, LoopLengthOf(motion));
                deviation.length = splineFrames.empty() ? deviation.length * choices.lengthScale : 0.0;
                baked = Larger(baked, deviation);
            }
            break;
        }
        }
        // Values and spline tangents alike are lengths.
        for (float& length : values.translations) length *= choices.lengthScale;
        AddChannel(animation, input, buffer.AddFloats(values.translations, 3, GltfBuffer::kNoTarget, false),
                   interpolation, nodeOfPart[p], "translation");
        AddChannel(animation, rotationInput < 0 ? input : rotationInput,
                   buffer.AddFloats(values.rotations, 4, GltfBuffer::kNoTarget, false),
                   rotationInput < 0 ? interpolation : "LINEAR", nodeOfPart[p], "rotation");
    }
    return animation;
}

}  // namespace

void AddGltfAnimations(const Scene& scene, const std::vector<int>& nodeOfPart, int framesPerSecond,
                       GltfAssembly& assembly)
{
    for (const Motion& motion : scene.Motions()) {
        nlohmann::json animation = BuildAnimation(scene, motion, nodeOfPart, framesPerSecond, assembly.choices,
                                                  assembly.buffer, assembly.baked);
        // glTF cannot say that an animation loops: the extras say it, and the
        // name may carry the suffix an engine's importer looks for. The
        // repeated last frame stays, so that a player looping over the
        // animation's duration keeps the Motion's period.
        if (motion.loop) {
            animation["name"] = motion.name + assembly.choices.loopSuffix;
            animation["extras"] = {{"loop", true}};
        }
        AppendTo(assembly, "animations", std::move(animation));
    }
}

}  // namespace m3d
