#include "editor/history/MotionContentChange.h"

#include "editor/EditorSession.h"

#include <cstring>

namespace m3d {

namespace {

// Matrix and interpolation, bit for bit (the frames are compared by the caller).
bool SameKey(const KeyFrame& a, const KeyFrame& b) { return std::memcmp(&a, &b, sizeof(KeyFrame)) == 0; }

}  // namespace

std::vector<MotionContentChange::KeyEdit> DiffKeys(const MotionTrack& before, const MotionTrack& after)
{
    std::vector<MotionContentChange::KeyEdit> edits;
    size_t b = 0, a = 0;
    while (b < before.keys.size() || a < after.keys.size()) {
        const bool takeBefore =
            a == after.keys.size() || (b < before.keys.size() && before.keys[b].frame <= after.keys[a].frame);
        const bool takeAfter =
            b == before.keys.size() || (a < after.keys.size() && after.keys[a].frame <= before.keys[b].frame);
        if (takeBefore && takeAfter && SameKey(before.keys[b], after.keys[a])) {
            ++b, ++a;
            continue;
        }
        MotionContentChange::KeyEdit& edit = edits.emplace_back();
        edit.frame = takeBefore ? before.keys[b].frame : after.keys[a].frame;
        if (takeBefore) {
            edit.hadKey = true;
            edit.before = before.keys[b++];
        }
        if (takeAfter) {
            edit.hasKey = true;
            edit.after = after.keys[a++];
        }
    }
    return edits;
}

void ApplyKeyEdits(MotionTrack& track, const std::vector<MotionContentChange::KeyEdit>& edits, bool after)
{
    std::vector<KeyFrame> keys;
    keys.reserve(track.keys.size() + edits.size());
    size_t k = 0;
    for (const MotionContentChange::KeyEdit& edit : edits) {
        while (k < track.keys.size() && track.keys[k].frame < edit.frame) keys.push_back(track.keys[k++]);
        if (k < track.keys.size() && track.keys[k].frame == edit.frame) ++k;
        if (after ? edit.hasKey : edit.hadKey) keys.push_back(after ? edit.after : edit.before);
    }
    keys.insert(keys.end(), track.keys.begin() + static_cast<std::ptrdiff_t>(k), track.keys.end());
    track.keys = std::move(keys);
}

void MotionContentChange::ForgetDigests(MotionDigests& digests) const
{
    for (const HeaderEdit& h : headers) digests.ForgetHeader(h.motion);
    for (const TrackEdits& t : tracks) digests.ForgetTrack(t.motion, t.part);
}

size_t MotionContentChange::Bytes() const
{
    size_t bytes = sizeof(*this);
    for (const HeaderEdit& h : headers) bytes += sizeof(h) + h.beforeName.size() + h.afterName.size();
    for (const TrackEdits& t : tracks) bytes += sizeof(t) + t.edits.size() * sizeof(KeyEdit);
    return bytes;
}

void MotionContentChange::Apply(EditorSession& session, bool after) const
{
    Scene& scene = session.GetScene();
    for (const HeaderEdit& h : headers) {
        if (Motion* motion = scene.EditMotion(h.motion)) {
            motion->name = after ? h.afterName : h.beforeName;
            motion->length = after ? h.afterLength : h.beforeLength;
            motion->loop = after ? h.afterLoop : h.beforeLoop;
        }
    }
    for (const TrackEdits& t : tracks) {
        Motion* motion = scene.EditMotion(t.motion);
        if (motion && t.part >= 0 && t.part < static_cast<int>(motion->tracks.size()))
            ApplyKeyEdits(motion->tracks[t.part], t.edits, after);
    }
    // The Motion whose keys come and go is the one shown.
    const int shown = !tracks.empty() ? tracks.front().motion : !headers.empty() ? headers.front().motion : -1;
    if (shown >= 0 && shown < scene.MotionCount() && shown != session.CurrentMotion()) session.SelectMotion(shown);
}

}  // namespace m3d
