#include "editor/OnionSkin.h"

#include "anim/NeighbourKeys.h"
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"

#include <algorithm>

namespace m3d {

std::vector<PoseGhost> OnionSkinGhosts(const EditorSession& session)
{
    std::vector<PoseGhost> ghosts;
    const ViewDisplays& displays = session.Displays();
    const bool shown = std::any_of(displays.begin(), displays.end(), [](const ViewDisplay& d) { return d.onionSkin; });
    const int motion = session.CurrentMotion();
    if (!shown || session.IsPlaying() || motion < 0) return ghosts;
    const Scene& scene = session.GetScene();
    const Motion& current = scene.motions[size_t(motion)];
    const NeighbourKeys keys = NeighbourKeyFrames(current, session.CurrentFrame());
    if (keys.previous >= 0) ghosts.push_back({WorldPoseAt(scene, current, keys.previous), kOnionPreviousTint});
    if (keys.next >= 0) ghosts.push_back({WorldPoseAt(scene, current, keys.next), kOnionNextTint});
    return ghosts;
}

}  // namespace m3d
