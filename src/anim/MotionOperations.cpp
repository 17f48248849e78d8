#include "anim/MotionOperations.h"

#include "anim/MotionName.h"
#include "scene/Scene.h"

namespace {

Motion* MotionAt(Scene& scene, int index)
{
    return index >= 0 && index < static_cast<int>(scene.motions.size()) ? &scene.motions[index] : nullptr;
}

MotionTrack* TrackAt(Scene& scene, int motion, int part)
{
    Motion* m = MotionAt(scene, motion);
    if (!m || part < 0 || part >= static_cast<int>(m->tracks.size())) return nullptr;
    return &m->tracks[part];
}

}  // namespace

bool NewMotion(Scene& scene, const std::string& name)
{
    if (!ValidateMotionName(name, scene.motions).empty()) return false;
    Motion motion;
    motion.name = name;
    motion.length = DEFAULT_MOTION_LENGTH;
    motion.tracks.resize(scene.parts.size());
    scene.motions.push_back(std::move(motion));
    scene.currentMotion = static_cast<int>(scene.motions.size()) - 1;
    for (int i = 0; i < scene.PartCount(); ++i) SetKey(scene, scene.currentMotion, i, 0);
    scene.Observer().MotionPanelNeedsRefresh();
    return true;
}

bool DuplicateMotion(Scene& scene, int source, const std::string& name)
{
    const Motion* original = MotionAt(scene, source);
    if (!original || !ValidateMotionName(name, scene.motions).empty()) return false;
    Motion copy = *original;
    copy.name = name;
    scene.motions.push_back(std::move(copy));
    scene.currentMotion = static_cast<int>(scene.motions.size()) - 1;
    scene.currentFrame = 0;
    scene.Observer().MotionPanelNeedsRefresh();
    return true;
}

bool DeleteMotion(Scene& scene, int index)
{
    if (!MotionAt(scene, index)) return false;
    scene.motions.erase(scene.motions.begin() + index);
    const int count = static_cast<int>(scene.motions.size());
    scene.currentMotion = index < count ? index : count - 1;
    scene.Observer().MotionPanelNeedsRefresh();
    return true;
}

bool RenameMotion(Scene& scene, int index, const std::string& name)
{
    Motion* motion = MotionAt(scene, index);
    if (!motion || !ValidateMotionName(name, scene.motions).empty()) return false;
    motion->name = name;
    scene.Observer().MotionPanelNeedsRefresh();
    return true;
}

bool SetMotionLength(Scene& scene, int index, int length)
{
    Motion* motion = MotionAt(scene, index);
    if (!motion || length < 0) return false;
    motion->length = length;
    for (MotionTrack& track : motion->tracks) track.DropKeysAfter(length);
    if (index == scene.currentMotion && scene.currentFrame > length) scene.currentFrame = length;
    scene.Observer().MotionPanelNeedsRefresh();
    return true;
}

bool SetKey(Scene& scene, int motion, int part, int frame)
{
    const Part* p = scene.PartAt(part);
    if (!p) return false;
    return SetKeyMatrix(scene, motion, part, frame, KeyMatrixOf(p->localMatrix, p->localPosition));
}

bool SetKeyMatrix(Scene& scene, int motion, int part, int frame, const Matrix4& matrix)
{
    MotionTrack* track = TrackAt(scene, motion, part);
    if (!track) return false;
    track->SetKeyMatrix(frame, matrix);
    return true;
}

bool DeleteKey(Scene& scene, int motion, int part, int frame)
{
    MotionTrack* track = TrackAt(scene, motion, part);
    if (!track || frame == 0) return false;
    return track->DeleteKey(frame);
}

void AddTrackForNewPart(Scene& scene)
{
    for (Motion& motion : scene.motions) motion.tracks.emplace_back();
    for (int m = 0; m < static_cast<int>(scene.motions.size()); ++m)
        for (int i = 0; i < static_cast<int>(scene.motions[m].tracks.size()); ++i) SetKey(scene, m, i, 0);
}

void CompactTracks(Scene& scene, const std::vector<int>& map, int newCount)
{
    for (Motion& motion : scene.motions) {
        std::vector<MotionTrack> kept(static_cast<size_t>(newCount));
        const int oldCount = static_cast<int>(motion.tracks.size());
        for (int old = 0; old < oldCount && old < static_cast<int>(map.size()); ++old) {
            const int target = map[old];
            if (target >= 0 && target < newCount) kept[target] = std::move(motion.tracks[old]);
        }
        motion.tracks = std::move(kept);
    }
}
