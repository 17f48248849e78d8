#include "anim/MotionOperations.h"

#include "scene/MotionName.h"
#include "scene/Scene.h"

namespace m3d {

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
    const int added = static_cast<int>(scene.motions.size()) - 1;
    for (int i = 0; i < scene.PartCount(); ++i) SetKey(scene, added, i, 0);
    return true;
}

bool DuplicateMotion(Scene& scene, int source, const std::string& name)
{
    const Motion* original = MotionAt(scene, source);
    if (!original || !ValidateMotionName(name, scene.motions).empty()) return false;
    Motion copy = *original;
    copy.name = name;
    scene.motions.push_back(std::move(copy));
    return true;
}

bool DeleteMotion(Scene& scene, int index)
{
    if (!MotionAt(scene, index)) return false;
    scene.motions.erase(scene.motions.begin() + index);
    return true;
}

bool RenameMotion(Scene& scene, int index, const std::string& name)
{
    Motion* motion = MotionAt(scene, index);
    if (!motion || !ValidateMotionName(name, scene.motions).empty()) return false;
    motion->name = name;
    return true;
}

bool SetMotionLength(Scene& scene, int index, int length)
{
    Motion* motion = MotionAt(scene, index);
    if (!motion || length < 0) return false;
    motion->length = length;
    for (MotionTrack& track : motion->tracks) track.DropKeysAfter(length);
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

}  // namespace m3d
