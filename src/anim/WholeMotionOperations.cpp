#include "anim/WholeMotionOperations.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "scene/PoseComposition.h"
#include "scene/Scene.h"
#include "view/PoseOperations.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace m3d {

namespace {

// Tracks that belong to a Part (a damaged project may hold more or fewer).
int TrackCount(const Scene& scene, const Motion& motion)
{
    return std::min(static_cast<int>(motion.tracks.size()), scene.PartCount());
}

bool SameKeyMatrix(const Matrix4& a, const Matrix4& b)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            // Written so that a NaN element makes the keys differ.
            if (!(std::fabs(a.m[r][c] - b.m[r][c]) <= kRedundantKeyTolerance)) return false;
    return true;
}

// Whether key is reproduced by interpolating linearly from previous (the last
// key kept) to next, or, as the last key (next null), equals previous.
bool IsRedundant(const KeyFrame& previous, const KeyFrame& key, const KeyFrame* next)
{
    if (!next) return SameKeyMatrix(key.matrix, previous.matrix);
    MotionTrack pair{{previous, *next}};
    const TrackPose predicted = TrackSegment(pair, 0).At(key.frame);
    return SameKeyMatrix(KeyMatrixOf(predicted.localMatrix, predicted.localPosition), key.matrix);
}

bool AllLinear(const std::vector<KeyFrame>& keys)
{
    return std::all_of(keys.begin(), keys.end(), [](const KeyFrame& key) { return key.interpolation.IsLinear(); });
}

// Linear keys: a key goes when interpolating past it reproduces it at its own
// frame (a linear segment cannot stray further between keys).
int DeleteRedundantLinearKeys(std::vector<KeyFrame>& keys)
{
    // One pass: the keys kept move down over the ones dropped, so a track
    // costs O(keys) however many go.
    int deleted = 0;
    size_t kept = std::min<size_t>(keys.size(), 1);
    for (size_t k = 1; k < keys.size(); ++k) {
        const KeyFrame* next = k + 1 < keys.size() ? &keys[k + 1] : nullptr;
        // The frame-0 key is never deleted.
        if (keys[k].frame != 0 && IsRedundant(keys[kept - 1], keys[k], next)) {
            ++deleted;
            continue;
        }
        keys[kept++] = keys[k];
    }
    keys.resize(kept);
    return deleted;
}

// Any interpolation: a key goes when the track without it gives, at every
// frame its neighbours' segments span, the pose the track had before the
// command within the tolerance. Removing a key changes the segments of the
// two keys on each side of it (a smooth key's tangent reaches one key
// further), so those are evaluated from a track of the three keys kept
// before it and the three after.
int DeleteRedundantTimedKeys(std::vector<KeyFrame>& keys, int32_t loopLength)
{
    const MotionTrack original{keys};
    const auto originalAt = [&original, loopLength](int frame) {
        TrackPose pose;
        EvaluateTrack(original, frame, pose, loopLength);
        return KeyMatrixOf(pose.localMatrix, pose.localPosition);
    };
    int deleted = 0;
    size_t kept = std::min<size_t>(keys.size(), 1);
    for (size_t k = 1; k < keys.size(); ++k) {
        // Across the seam of a loop a curve reaches the keys beside both ends,
        // which the windows here do not see: those keys and the ends stay.
        const bool seam = loopLength > 0 && (k == 1 || k + 2 >= keys.size());
        if (keys[k].frame != 0 && !seam) {
            MotionTrack without;
            for (size_t b = kept > 3 ? kept - 3 : 0; b < kept; ++b) without.keys.push_back(keys[b]);
            for (size_t a = k + 1; a < keys.size() && a <= k + 3; ++a) without.keys.push_back(keys[a]);
            const int from = keys[kept > 1 ? kept - 2 : kept - 1].frame;
            const int to = k + 2 < keys.size() ? keys[k + 2].frame : keys[k].frame;
            bool reproduced = true;
            TrackSampler sampler(without);
            for (int frame = from; frame <= to && reproduced; ++frame) {
                TrackPose pose;
                sampler.Sample(frame, pose);
                reproduced = SameKeyMatrix(KeyMatrixOf(pose.localMatrix, pose.localPosition), originalAt(frame));
            }
            if (reproduced) {
                ++deleted;
                continue;
            }
        }
        keys[kept++] = keys[k];
    }
    keys.resize(kept);
    return deleted;
}

// The pose track gives at frame; fallback (the Part's present pose) for a
// track without keys, which only damaged data has.
TrackPose PoseOrPresent(const MotionTrack& track, int frame, const Part& fallback)
{
    TrackPose pose{fallback.localMatrix, fallback.localPosition};
    EvaluateTrack(track, frame, pose);
    return pose;
}

// Frames 0 ... length at which one of the chosen tracks has a key, ascending.
template <typename Choose>
std::vector<int> KeyedFrames(const Scene& scene, const Motion& motion, Choose chosen)
{
    std::vector<int> frames;
    for (int j = 0; j < TrackCount(scene, motion); ++j) {
        if (!chosen(j)) continue;
        for (const KeyFrame& key : motion.tracks[j].keys)
            if (key.frame >= 0 && key.frame <= motion.length) frames.push_back(key.frame);
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

}  // namespace

int DeleteRedundantKeys(Scene& scene, int motionIndex)
{
    Motion* motion = scene.EditMotion(motionIndex);
    if (!motion) return 0;
    int deleted = 0;
    for (int j = 0; j < TrackCount(scene, *motion); ++j) {
        std::vector<KeyFrame>& keys = motion->tracks[j].keys;
        deleted +=
            AllLinear(keys) ? DeleteRedundantLinearKeys(keys) : DeleteRedundantTimedKeys(keys, LoopLengthOf(*motion));
    }
    return deleted;
}

void MirrorMotion(Scene& scene, int motionIndex)
{
    Motion* motion = scene.EditMotion(motionIndex);
    if (!motion) return;
    const int parts = scene.PartCount();
    const int count = TrackCount(scene, *motion);
    // Posing the model at a frame and mirroring it (MirrorPose) gives each
    // Part its partner's rotation there, mirrored, at its own position there.
    // So each track is rebuilt from two track evaluations per key, O(log keys)
    // each, instead of posing every Part at every keyed frame and inserting
    // and deleting keys one at a time.
    std::vector<MotionTrack> mirrored(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j) {
        const int partner = scene.Parts()[j]->symmetryIndex;
        const bool paired = partner >= 0 && partner < count;
        // The Part takes its keys' timing from the partner's track.
        const MotionTrack& timing = motion->tracks[paired ? partner : j];
        const MotionTrack& own = motion->tracks[j];
        // Its rotations come from the partner's pose (a partner without a track holds its present pose).
        const int rotationPart = partner >= 0 && partner < parts ? partner : j;
        const MotionTrack* rotationTrack = rotationPart < count ? &motion->tracks[rotationPart] : nullptr;
        std::vector<KeyFrame>& keys = mirrored[j].keys;
        keys.reserve(timing.keys.size());
        for (const KeyFrame& key : timing.keys) {
            // Frames outside 0 ... length are never visited: no key is made there.
            if (key.frame < 0 || key.frame > motion->length) continue;
            const Part& rotationOwner = *scene.Parts()[rotationPart];
            const Matrix4 rotation = rotationTrack ? PoseOrPresent(*rotationTrack, key.frame, rotationOwner).localMatrix
                                                   : rotationOwner.localMatrix;
            const Vec3 position = PoseOrPresent(own, key.frame, *scene.Parts()[j]).localPosition;
            keys.push_back({key.frame, KeyMatrixOf(MirrorRotation(rotation), position), key.interpolation});
        }
        // The Part's own keys outside 0 ... length stay where they are, and so
        // does its frame-0 key when the timing has none (which only damaged data lacks).
        const bool timedAtZero = timing.FindKey(0) >= 0;
        std::vector<KeyFrame> outside;
        for (const KeyFrame& key : own.keys)
            if (key.frame < 0 || key.frame > motion->length || (key.frame == 0 && !timedAtZero)) outside.push_back(key);
        std::vector<KeyFrame> merged(keys.size() + outside.size());
        std::merge(keys.begin(), keys.end(), outside.begin(), outside.end(), merged.begin(),
                   [](const KeyFrame& a, const KeyFrame& b) { return a.frame < b.frame; });
        keys = std::move(merged);
    }
    for (int j = 0; j < count; ++j) motion->tracks[j] = std::move(mirrored[j]);
}

void GroundAllKeyframes(Scene& scene, int motionIndex)
{
    Motion* motion = scene.EditMotion(motionIndex);
    if (!motion) return;
    const auto topLevel = [&scene](int j) { return scene.Parts()[j]->parentIndex == -1; };
    const int count = TrackCount(scene, *motion);
    // Frames past the length are never visited, and of their keys only the
    // first is ever read (as the far end of an interpolation). The others wait
    // aside, so that a key put in before them does not move them all each time.
    std::vector<std::vector<KeyFrame>> parked(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j) {
        std::vector<KeyFrame>& keys = motion->tracks[j].keys;
        auto beyond = std::upper_bound(keys.begin(), keys.end(), motion->length,
                                       [](int frame, const KeyFrame& key) { return frame < key.frame; });
        if (!topLevel(j) || beyond == keys.end()) continue;
        parked[j].assign(std::next(beyond), keys.end());
        keys.erase(std::next(beyond), keys.end());
    }
    for (const int frame : KeyedFrames(scene, *motion, topLevel)) {
        EvaluatePose(scene, motionIndex, frame);
        float lowest = 0.0f;
        if (!LowestModelY(scene, lowest)) break;  // no vertex at any frame
        for (int j = 0; j < count; ++j) {
            if (!topLevel(j)) continue;
            scene.Parts()[j]->localPosition.y -= lowest;
            // A key made here splits a segment, and takes the segment's timing.
            SetKey(scene, motionIndex, j, frame, motion->tracks[j].InterpolationAt(frame));
        }
    }
    for (int j = 0; j < count; ++j) {
        std::vector<KeyFrame>& keys = motion->tracks[j].keys;
        keys.insert(keys.end(), parked[j].begin(), parked[j].end());
    }
}

void LevelPartInAllKeyframes(Scene& scene, int motionIndex, int part)
{
    Motion* motion = scene.EditMotion(motionIndex);
    if (!motion || part < 0 || part >= TrackCount(scene, *motion)) return;
    // Keying a frame that already has a key keeps the list of frames as it is.
    std::vector<int> frames;
    for (const KeyFrame& key : motion->tracks[part].keys) frames.push_back(key.frame);
    for (const int frame : frames) {
        EvaluatePose(scene, motionIndex, frame);
        KeepOnlyHeading(scene, part);
        SetKey(scene, motionIndex, part, frame);
    }
}

void TurnMotionAround(Scene& scene, int motionIndex)
{
    Motion* motion = scene.EditMotion(motionIndex);
    if (!motion) return;
    const Matrix4 halfTurn = MatrixRotationY(3.1415927f);
    for (int j = 0; j < TrackCount(scene, *motion); ++j) {
        if (scene.Parts()[j]->parentIndex != -1) continue;
        for (KeyFrame& key : motion->tracks[j].keys) key.matrix = key.matrix * halfTurn;
    }
}

}  // namespace m3d
