#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace m3d {

class Scene;

// The fingerprints of every Motion's header and tracks
// (scene/DocumentFingerprint.h) as last worked out, kept by index; the
// history forgets those its steps rewrite, so telling whether the document
// changed costs the tracks that changed, not all of them.
class MotionDigests {
public:
    void ForgetAll() { motions.clear(); }
    // The name or length of Motion motion, or the keys of one of its tracks, were rewritten.
    void ForgetHeader(int motion);
    void ForgetTrack(int motion, int part);
    // Every track of every Motion was rewritten (the keys, not their number).
    void ForgetTracks();
    // A Motion was inserted at index, or removed from there.
    void MotionInserted(int index);
    void MotionRemoved(int index);
    // Tracks were inserted at, or removed from, parts (ascending) in every Motion.
    void TracksInserted(const std::vector<int>& parts);
    void TracksRemoved(const std::vector<int>& parts);
    // The tracks of every Motion were renumbered: track i went to newIndexOf[i].
    void TracksMoved(const std::vector<int>& newIndexOf);
    // The document's fingerprint: the Parts afresh, the Motions from what is
    // kept where known. What no longer fits the Motions is dropped.
    uint64_t Document(const Scene& scene);

private:
    struct Entry {
        std::optional<uint64_t> header;
        std::vector<std::optional<uint64_t>> tracks;
    };
    std::vector<Entry> motions;
};

}  // namespace m3d
