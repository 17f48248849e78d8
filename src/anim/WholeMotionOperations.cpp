#include "anim/WholeMotionOperations.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "scene/Scene.h"
#include "view/PoseOperations.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

Motion* MotionAt(Scene& scene, int index)
{
    return index >= 0 && index < static_cast<int>(scene.motions.size()) ? &scene.motions[index] : nullptr;
}

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
            if (!(std::fabs(a.m[r][c] - b.m[r][c]) <= REDUNDANT_KEY_TOLERANCE)) return false;
    return true;
}

bool IsRedundant(const std::vector<KeyFrame>& keys, size_t k)
{
    if (k + 1 == keys.size()) return SameKeyMatrix(keys[k].matrix, keys[k - 1].matrix);
    const TrackPose predicted = InterpolateKeys(keys[k - 1], keys[k + 1], keys[k].frame);
    return SameKeyMatrix(KeyMatrixOf(predicted.localMatrix, predicted.localPosition), keys[k].matrix);
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
    Motion* motion = MotionAt(scene, motionIndex);
    if (!motion) return 0;
    int deleted = 0;
    for (int j = 0; j < TrackCount(scene, *motion); ++j) {
        const std::vector<KeyFrame>& keys = motion->tracks[j].keys;
        size_t k = 1;
        while (k < keys.size()) {
            if (IsRedundant(keys, k) && DeleteKey(scene, motionIndex, j, keys[k].frame))
                ++deleted;
            else
                ++k;
        }
    }
    return deleted;
}

void MirrorMotion(Scene& scene, int motionIndex)
{
    Motion* motion = MotionAt(scene, motionIndex);
    if (!motion) return;
    const int count = TrackCount(scene, *motion);
    std::vector<int> source(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j) {
        const int partner = scene.parts[j]->symmetryIndex;
        source[j] = partner >= 0 && partner < count ? partner : j;
    }
    // Every frame reads the Motion as it was: keys rewritten or deleted at
    // earlier frames would otherwise change a Part's path (its own positions)
    // at the frames still to come.
    const Motion original = *motion;
    // A frame without any key produces no key and leaves no trace, so only
    // keyed frames are visited; keys are only ever written at such frames.
    for (const int frame : KeyedFrames(scene, original, [](int) { return true; })) {
        EvaluatePose(scene, original, frame);
        MirrorPose(scene);
        for (int j = 0; j < count; ++j) {
            if (original.tracks[source[j]].FindKey(frame) >= 0)
                SetKey(scene, motionIndex, j, frame);
            else
                DeleteKey(scene, motionIndex, j, frame);
        }
    }
}

void GroundAllKeyframes(Scene& scene, int motionIndex)
{
    Motion* motion = MotionAt(scene, motionIndex);
    if (!motion) return;
    const auto topLevel = [&scene](int j) { return scene.parts[j]->parentIndex == -1; };
    for (const int frame : KeyedFrames(scene, *motion, topLevel)) {
        EvaluatePose(scene, motionIndex, frame);
        float lowest = 0.0f;
        if (!LowestModelY(scene, lowest)) break;  // no vertex at any frame
        for (int j = 0; j < TrackCount(scene, *motion); ++j) {
            if (!topLevel(j)) continue;
            scene.parts[j]->localPosition.y -= lowest;
            SetKey(scene, motionIndex, j, frame);
        }
    }
}

void LevelPartInAllKeyframes(Scene& scene, int motionIndex, int part)
{
    Motion* motion = MotionAt(scene, motionIndex);
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
    Motion* motion = MotionAt(scene, motionIndex);
    if (!motion) return;
    const Matrix4 halfTurn = MatrixRotationY(3.1415927f);
    for (int j = 0; j < TrackCount(scene, *motion); ++j) {
        if (scene.parts[j]->parentIndex != -1) continue;
        for (KeyFrame& key : motion->tracks[j].keys) key.matrix = key.matrix * halfTurn;
    }
}
