#include "editor/history/MotionDigests.h"

#include "scene/DocumentFingerprint.h"
#include "scene/Scene.h"

namespace m3d {

void MotionDigests::ForgetHeader(int motion)
{
    if (motion >= 0 && motion < static_cast<int>(motions.size())) motions[motion].header.reset();
}

void MotionDigests::ForgetTrack(int motion, int part)
{
    if (motion < 0 || motion >= static_cast<int>(motions.size())) return;
    std::vector<std::optional<uint64_t>>& tracks = motions[motion].tracks;
    if (part >= 0 && part < static_cast<int>(tracks.size())) tracks[part].reset();
}

void MotionDigests::ForgetTracks()
{
    for (Entry& entry : motions) entry.tracks.assign(entry.tracks.size(), std::nullopt);
}

void MotionDigests::MotionInserted(int index)
{
    if (index >= 0 && index <= static_cast<int>(motions.size()))
        motions.insert(motions.begin() + index, Entry{});
    else
        motions.clear();
}

void MotionDigests::MotionRemoved(int index)
{
    if (index >= 0 && index < static_cast<int>(motions.size()))
        motions.erase(motions.begin() + index);
    else
        motions.clear();
}

void MotionDigests::TracksInserted(const std::vector<int>& parts)
{
    for (Entry& entry : motions) {
        entry.header.reset();
        for (int part : parts) {
            if (part < 0 || part > static_cast<int>(entry.tracks.size())) return ForgetAll();
            entry.tracks.insert(entry.tracks.begin() + part, std::nullopt);
        }
    }
}

void MotionDigests::TracksRemoved(const std::vector<int>& parts)
{
    for (Entry& entry : motions) {
        entry.header.reset();
        // The last first, so the earlier indices still hold.
        for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
            if (*part < 0 || *part >= static_cast<int>(entry.tracks.size())) return ForgetAll();
            entry.tracks.erase(entry.tracks.begin() + *part);
        }
    }
}

void MotionDigests::TracksMoved(const std::vector<int>& newIndexOf)
{
    for (Entry& entry : motions) {
        if (entry.tracks.size() != newIndexOf.size()) return ForgetAll();
        std::vector<std::optional<uint64_t>> moved(entry.tracks.size());
        for (size_t i = 0; i < newIndexOf.size(); ++i) {
            if (newIndexOf[i] < 0 || size_t(newIndexOf[i]) >= moved.size()) return ForgetAll();
            moved[size_t(newIndexOf[i])] = entry.tracks[i];
        }
        entry.tracks = std::move(moved);
    }
}

uint64_t MotionDigests::Document(const Scene& scene)
{
    if (motions.size() != scene.Motions().size()) motions.assign(scene.Motions().size(), Entry{});
    std::vector<uint64_t> values;
    values.reserve(motions.size());
    for (size_t m = 0; m < motions.size(); ++m) {
        const Motion& motion = scene.Motions()[m];
        Entry& entry = motions[m];
        if (entry.tracks.size() != motion.tracks.size())
            entry = Entry{std::nullopt, std::vector<std::optional<uint64_t>>(motion.tracks.size())};
        if (!entry.header) entry.header = MotionHeaderFingerprint(motion);
        std::vector<uint64_t> tracks;
        tracks.reserve(entry.tracks.size());
        for (size_t t = 0; t < entry.tracks.size(); ++t) {
            if (!entry.tracks[t]) entry.tracks[t] = TrackFingerprint(motion.tracks[t]);
            tracks.push_back(*entry.tracks[t]);
        }
        values.push_back(CombineFingerprints(*entry.header, tracks));
    }
    return CombineFingerprints(PartsFingerprint(scene), values);
}

}  // namespace m3d
