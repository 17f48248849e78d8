#include "scene/DocumentFingerprint.h"

#include "math/Digest.h"
#include "scene/Scene.h"

namespace m3d {

uint64_t PartsFingerprint(const Scene& scene)
{
    Digest digest;
    digest.Add(static_cast<int64_t>(scene.PartCount()));
    for (const auto& part : scene.Parts()) {
        digest.Add(part->baseName);
        digest.Add(static_cast<int64_t>(part->parentIndex));
        digest.Add(static_cast<int64_t>(part->symmetryIndex));
        digest.Add(static_cast<int64_t>(part->mesh ? part->mesh->ContentDigest() : 0));
        const JointLimit& limit = part->jointLimit;
        const float range[2] = {limit.minDegrees, limit.maxDegrees};
        digest.Add(static_cast<int64_t>(limit.axis));
        digest.Add(range, sizeof range);
    }
    digest.Add(&scene.metresPerUnit, sizeof scene.metresPerUnit);
    return digest.Value();
}

uint64_t MotionHeaderFingerprint(const Motion& motion)
{
    Digest digest;
    digest.Add(motion.name);
    digest.Add(static_cast<int64_t>(motion.length));
    digest.Add(static_cast<int64_t>(motion.tracks.size()));
    digest.Add(static_cast<int64_t>(motion.loop));
    return digest.Value();
}

uint64_t TrackFingerprint(const MotionTrack& track)
{
    Digest digest;
    digest.Add(static_cast<int64_t>(track.keys.size()));
    if (!track.keys.empty()) digest.Add(track.keys.data(), track.keys.size() * sizeof(KeyFrame));
    return digest.Value();
}

uint64_t CombineFingerprints(uint64_t first, const std::vector<uint64_t>& others)
{
    Digest digest;
    digest.Add(static_cast<int64_t>(first));
    digest.Add(static_cast<int64_t>(others.size()));
    if (!others.empty()) digest.Add(others.data(), others.size() * sizeof(uint64_t));
    return digest.Value();
}

uint64_t DocumentFingerprint(const Scene& scene)
{
    std::vector<uint64_t> motions;
    for (const Motion& motion : scene.Motions()) {
        std::vector<uint64_t> tracks;
        for (const MotionTrack& track : motion.tracks) tracks.push_back(TrackFingerprint(track));
        motions.push_back(CombineFingerprints(MotionHeaderFingerprint(motion), tracks));
    }
    return CombineFingerprints(PartsFingerprint(scene), motions);
}

}  // namespace m3d
