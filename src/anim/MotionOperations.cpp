#include "anim/MotionOperations.h"

#include "anim/CurveKeyEdit.h"
#include "anim/PoseEvaluation.h"
#include "scene/MotionName.h"
#include "scene/Scene.h"

namespace m3d {

namespace {

MotionTrack* TrackAt(Scene& scene, int motion, int part)
{
    Motion* m = scene.EditMotion(motion);
    if (!m || part < 0 || part >= static_cast<int>(m->tracks.size())) return nullptr;
    return &m->tracks[part];
}

}  // namespace

bool NewMotion(Scene& scene, const std::string& name)
{
    if (!ValidateMotionName(name, scene.Motions()).empty()) return false;
    Motion motion;
    motion.name = name;
    motion.length = DEFAULT_MOTION_LENGTH;
    motion.tracks.resize(scene.Parts().size());
    const int added = scene.AppendMotion(std::move(motion));
    for (int i = 0; i < scene.PartCount(); ++i) SetKey(scene, added, i, 0);
    return true;
}

bool DuplicateMotion(Scene& scene, int source, const std::string& name)
{
    if (source < 0 || source >= scene.MotionCount() || !ValidateMotionName(name, scene.Motions()).empty()) return false;
    Motion copy = scene.MotionAt(source);
    copy.name = name;
    scene.AppendMotion(std::move(copy));
    return true;
}

bool DeleteMotion(Scene& scene, int index) { return scene.RemoveMotion(index); }

bool RenameMotion(Scene& scene, int index, const std::string& name)
{
    Motion* motion = scene.EditMotion(index);
    if (!motion || !ValidateMotionName(name, scene.Motions()).empty()) return false;
    motion->name = name;
    return true;
}

bool SetMotionLength(Scene& scene, int index, int length)
{
    Motion* motion = scene.EditMotion(index);
    if (!motion || length < 0) return false;
    motion->length = length;
    for (MotionTrack& track : motion->tracks) track.DropKeysAfter(length);
    return true;
}

bool SetKey(Scene& scene, int motion, int part, int frame, const KeyInterpolation& forNew)
{
    const Part* p = scene.PartAt(part);
    if (!p) return false;
    return SetKeyMatrix(scene, motion, part, frame, KeyMatrixOf(p->localMatrix, p->localPosition), forNew);
}

bool SetKeyMatrix(Scene& scene, int motion, int part, int frame, const Matrix4& matrix, const KeyInterpolation& forNew)
{
    MotionTrack* track = TrackAt(scene, motion, part);
    if (!track) return false;
    track->SetKeyMatrix(frame, matrix, forNew);
    // A loop's last frame is its first again: keying either end keys both.
    const Motion& m = scene.MotionAt(motion);
    if (m.loop && m.length > 0 && (frame == 0 || frame == m.length))
        track->SetKeyMatrix(frame == 0 ? m.length : 0, matrix, forNew);
    return true;
}

int MatchLoopEnds(Scene& scene, int motion)
{
    Motion* m = scene.EditMotion(motion);
    if (!m || m->length <= 0) return 0;
    int matched = 0;
    for (MotionTrack& track : m->tracks) {
        const int first = track.FindKey(0), last = track.FindKey(m->length);
        if (first < 0 || (last >= 0 && track.keys[size_t(last)].matrix == track.keys[size_t(first)].matrix)) continue;
        const KeyFrame start = track.keys[size_t(first)];
        track.SetKeyMatrix(m->length, start.matrix, start.interpolation);
        ++matched;
    }
    return matched;
}

bool SetKeyInterpolation(Scene& scene, int motion, int part, int frame, const KeyInterpolation& interpolation)
{
    MotionTrack* track = TrackAt(scene, motion, part);
    if (!track) return false;
    const int key = track->FindKey(frame);
    if (key < 0 || track->keys[size_t(key)].interpolation == interpolation) return false;
    GiveKeyInterpolation(*track, size_t(key), interpolation, LoopLengthOf(scene.MotionAt(motion)));
    return true;
}

bool DeleteKey(Scene& scene, int motion, int part, int frame)
{
    MotionTrack* track = TrackAt(scene, motion, part);
    if (!track || frame == 0) return false;
    return track->DeleteKey(frame);
}

}  // namespace m3d
