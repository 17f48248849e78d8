#include "editor/history/MotionListChange.h"

#include "editor/EditorSession.h"

#include <algorithm>

namespace m3d {

std::unique_ptr<MotionListChange> MotionListChange::Added(int index)
{
    return std::unique_ptr<MotionListChange>(new MotionListChange(index, true, Motion{}));
}

std::unique_ptr<MotionListChange> MotionListChange::Removed(int index, Motion motion)
{
    return std::unique_ptr<MotionListChange>(new MotionListChange(index, false, std::move(motion)));
}

size_t MotionListChange::Bytes() const
{
    size_t bytes = sizeof(*this) + motion.name.size() + motion.tracks.size() * sizeof(MotionTrack);
    for (const MotionTrack& track : motion.tracks) bytes += track.keys.size() * sizeof(KeyFrame);
    return bytes;
}

void MotionListChange::ForgetDigests(MotionDigests& digests) const
{
    if (inList)
        digests.MotionInserted(index);
    else
        digests.MotionRemoved(index);
}

void MotionListChange::Toggle(EditorSession& session)
{
    std::vector<Motion>& motions = session.GetScene().MutableMotions();
    const int count = static_cast<int>(motions.size());
    if (inList) {
        if (index < 0 || index >= count) return;
        motion = std::move(motions[index]);
        motions.erase(motions.begin() + index);
        session.SelectMotion(std::min(index, count - 2));
    } else {
        const int at = std::clamp(index, 0, count);
        motions.insert(motions.begin() + at, std::move(motion));
        motion = Motion{};
        session.SelectMotion(at);
    }
    inList = !inList;
}

}  // namespace m3d
