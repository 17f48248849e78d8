#include "anim/PivotPath.h"

#include "anim/PoseEvaluation.h"
#include "scene/PoseComposition.h"
#include "scene/Scene.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace m3d {

namespace {

// One Part of the chain: its present pose and, when its track has keys, a
// sampler over them.
struct ChainLink {
    TrackPose present;
    std::optional<TrackSampler> sampler;
};

}  // namespace

PivotPath PivotPathOf(const Scene& scene, const Motion& motion, int part)
{
    PivotPath path;
    std::vector<int> parts;  // the Part and its parents, the top-level one last
    for (int p = part; p >= 0; p = scene.Parts()[size_t(p)]->parentIndex) {
        parts.push_back(p);
        // A parent always comes first; anything else counts as top level, as WorldPoseAt has it.
        if (scene.Parts()[size_t(p)]->parentIndex >= p) break;
    }
    std::vector<ChainLink> chain;  // the top-level Part first
    chain.reserve(parts.size());
    for (auto p = parts.rbegin(); p != parts.rend(); ++p) {
        const Part& link = *scene.Parts()[size_t(*p)];
        ChainLink& entry = chain.emplace_back(ChainLink{{link.localMatrix, link.localPosition}, std::nullopt});
        if (*p < int(motion.tracks.size()) && !motion.tracks[size_t(*p)].keys.empty())
            entry.sampler.emplace(motion.tracks[size_t(*p)]);
        else
            path.followsPose = true;
    }
    const int length = std::max(motion.length, 0);
    path.positions.reserve(size_t(length) + 1);
    for (int frame = 0; frame <= length; ++frame) {
        Matrix4 world;
        for (size_t i = 0; i < chain.size(); ++i) {
            TrackPose pose = chain[i].present;
            if (chain[i].sampler) chain[i].sampler->Sample(frame, pose);
            const Matrix4 parentWorld = world;
            world = WorldFromLocal(pose.localMatrix, pose.localPosition, i == 0 ? nullptr : &parentWorld);
        }
        path.positions.push_back(world.Translation());
    }
    if (part < int(motion.tracks.size()))
        for (const KeyFrame& key : motion.tracks[size_t(part)].keys)
            if (key.frame <= length) path.keyFrames.push_back(key.frame);
    return path;
}

}  // namespace m3d
