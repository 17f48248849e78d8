#pragma once

#include "editor/history/DocumentChange.h"
#include "scene/Motion.h"

#include <string>
#include <vector>

namespace m3d {

// What changed inside Motions that stayed in the list: names, lengths, loop
// switches and keys.
class MotionContentChange : public DocumentChange {
public:
    // One frame of one track: the key before and after (absent: no key
    // there), both at frame when present.
    struct KeyEdit {
        int32_t frame = 0;
        bool hadKey = false, hasKey = false;
        KeyFrame before, after;
    };
    // The edits of one track, in ascending frame.
    struct TrackEdits {
        int motion = -1;
        int part = -1;
        std::vector<KeyEdit> edits;
    };
    struct HeaderEdit {
        int motion = -1;
        std::string beforeName, afterName;
        int32_t beforeLength = 0, afterLength = 0;
        bool beforeLoop = false, afterLoop = false;
    };

    MotionContentChange(std::vector<HeaderEdit> headers, std::vector<TrackEdits> tracks)
        : headers(std::move(headers)), tracks(std::move(tracks))
    {
    }
    void Undo(EditorSession& session) override { Apply(session, false); }
    void Redo(EditorSession& session) override { Apply(session, true); }
    size_t Bytes() const override;
    SavedDataEffect Effect() const override { return {SavedData::Motions, SavedData::Motions}; }
    void ForgetDigests(MotionDigests& digests) const override;
    bool Empty() const { return headers.empty() && tracks.empty(); }

private:
    void Apply(EditorSession& session, bool after) const;

    std::vector<HeaderEdit> headers;
    std::vector<TrackEdits> tracks;
};

// The edits that turn track before into track after; frames whose keys are
// equal bit for bit are left out. Both tracks in ascending frame.
std::vector<MotionContentChange::KeyEdit> DiffKeys(const MotionTrack& before, const MotionTrack& after);
// Makes every frame of edits hold its key of one side (after, or before) in
// one pass over track, which stays in ascending frame.
void ApplyKeyEdits(MotionTrack& track, const std::vector<MotionContentChange::KeyEdit>& edits, bool after);

}  // namespace m3d
