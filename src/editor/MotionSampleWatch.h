#pragma once

#include "editor/EditorEvents.h"

#include <cstdint>

namespace m3d {

// When samples of the current Part over the current Motion were taken, as
// a MotionSampleWatch counts the changes.
struct SampleStamp {
    uint64_t changes = 0;
    uint64_t poses = 0;
    bool followsPose = false;  // the samples read the present pose of a Part
};

// Counts the session's changes that can alter what the current Part does over
// the current Motion: keys rewritten (commands, undo and redo), Motions
// changed or another one made current, another selection, Parts added,
// removed or given another parent. Pose changes are counted apart: they
// matter only to samples that read the present pose (a Part without keys).
// Keeps samples from being worked out again while nothing they depend on
// changed. Must not outlive the events it listens to.
class MotionSampleWatch {
public:
    explicit MotionSampleWatch(EditorEvents& events);

    // The changes so far.
    uint64_t Changes() const { return changes; }
    // A stamp for samples taken now.
    SampleStamp Stamp(bool followsPose) const { return {changes, poses, followsPose}; }
    // Whether samples stamped so are still those the session would give.
    bool Current(const SampleStamp& stamp) const
    {
        return stamp.changes == changes && (!stamp.followsPose || stamp.poses == poses);
    }

private:
    EditorSubscription subscription;
    uint64_t changes = 1;  // stamps taken before any sampling are never current
    uint64_t poses = 0;
};

}  // namespace m3d
