#include "editor/FrameNavigation.h"

#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"

#include <cmath>

namespace m3d {

namespace {

// A key set from the pose and evaluated again comes back through a
// quaternion: the same pose, a few float steps off.
constexpr float kPoseNoise = 1e-4f;

bool SamePose(const Matrix4& a, const Matrix4& b)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(std::fabs(a.m[r][c] - b.m[r][c]) <= kPoseNoise)) return false;
    return true;
}

}  // namespace

bool PoseHasUnkeyedEdits(const EditorSession& session)
{
    const int motion = session.CurrentMotion();
    if (motion < 0) return false;
    const Scene& scene = session.GetScene();
    const Motion& shown = scene.Motions()[motion];
    for (int part = 0; part < scene.PartCount(); ++part) {
        const Part& p = *scene.Parts()[part];
        const TrackPose keyed = PartPoseAt(scene, shown, part, session.CurrentFrame());
        if (!SamePose(KeyMatrixOf(p.localMatrix, p.localPosition), KeyMatrixOf(keyed.localMatrix, keyed.localPosition)))
            return true;
    }
    return false;
}

void EndFrameChange(EditorSession& session, bool unkeyedEditsBefore, const std::string& label)
{
    if (unkeyedEditsBefore)
        session.History().PushUndoJoining(label);
    else
        session.History().ResyncPose();
}

}  // namespace m3d
