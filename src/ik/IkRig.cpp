#include "ik/IkRig.h"

#include "scene/PoseComposition.h"
#include "scene/Scene.h"

#include <algorithm>
#include <cstring>

namespace m3d {

IkRig RigOf(const Scene& scene)
{
    IkRig rig;
    const size_t count = scene.Parts().size();
    rig.parents.reserve(count);
    rig.partners.reserve(count);
    rig.limits.reserve(count);
    for (const auto& part : scene.Parts()) {
        rig.parents.push_back(part->parentIndex);
        rig.partners.push_back(part->symmetryIndex);
        rig.limits.push_back(part->jointLimit);
    }
    return rig;
}

LocalPose LocalPoseOf(const Scene& scene)
{
    LocalPose pose;
    pose.reserve(scene.Parts().size());
    for (const auto& part : scene.Parts()) pose.push_back({part->localMatrix, part->localPosition});
    return pose;
}

bool SameLocalPose(const TrackPose& a, const TrackPose& b)
{
    return std::memcmp(&a.localMatrix, &b.localMatrix, sizeof a.localMatrix) == 0 &&
           std::memcmp(&a.localPosition, &b.localPosition, sizeof a.localPosition) == 0;
}

int ApplyLocalPose(Scene& scene, const LocalPose& pose)
{
    int changed = 0;
    const int count = std::min(scene.PartCount(), static_cast<int>(pose.size()));
    for (int i = 0; i < count; ++i) {
        Part& part = *scene.PartAt(i);
        if (SameLocalPose({part.localMatrix, part.localPosition}, pose[size_t(i)])) continue;
        part.localMatrix = pose[size_t(i)].localMatrix;
        part.localPosition = pose[size_t(i)].localPosition;
        ++changed;
    }
    if (changed > 0) scene.UpdateHierarchy(0);
    return changed;
}

Matrix4 WorldMatrixIn(const IkRig& rig, const LocalPose& pose, int part)
{
    const int count = rig.PartCount();
    // The Part and its ancestors, itself first; a broken link ends the walk.
    std::vector<int> path;
    for (int p = part; p >= 0 && p < count && path.size() <= size_t(count); p = rig.parents[size_t(p)])
        path.push_back(p);
    Matrix4 world;
    for (size_t k = path.size(); k-- > 0;) {
        const TrackPose& local = pose[size_t(path[k])];
        world = WorldFromLocal(local.localMatrix, local.localPosition, k + 1 == path.size() ? nullptr : &world);
    }
    return world;
}

std::vector<int> ChainParts(const IkRig& rig, int end, int root)
{
    const int count = rig.PartCount();
    if (end < 0 || end >= count || root < 0 || root >= count || root == end) return {};
    std::vector<int> chain{end};
    for (int p = rig.parents[size_t(end)]; p >= 0 && p < count; p = rig.parents[size_t(p)]) {
        chain.push_back(p);
        if (p == root) {
            std::reverse(chain.begin(), chain.end());
            return chain;
        }
        if (chain.size() > size_t(count)) break;
    }
    return {};
}

}  // namespace m3d
