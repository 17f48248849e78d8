#include "scene/DocumentFingerprint.h"

#include "math/Digest.h"
#include "scene/Scene.h"

uint64_t DocumentFingerprint(const Scene& scene)
{
    Digest digest;
    digest.Add(static_cast<int64_t>(scene.PartCount()));
    for (const auto& part : scene.parts) {
        digest.Add(part->baseName);
        digest.Add(static_cast<int64_t>(part->parentIndex));
        digest.Add(static_cast<int64_t>(part->symmetryIndex));
        digest.Add(static_cast<int64_t>(part->mesh ? part->mesh->ContentDigest() : 0));
    }
    digest.Add(static_cast<int64_t>(scene.motions.size()));
    for (const Motion& motion : scene.motions) {
        digest.Add(motion.name);
        digest.Add(static_cast<int64_t>(motion.length));
        digest.Add(static_cast<int64_t>(motion.tracks.size()));
        for (const MotionTrack& track : motion.tracks) {
            digest.Add(static_cast<int64_t>(track.keys.size()));
            if (!track.keys.empty()) digest.Add(track.keys.data(), track.keys.size() * sizeof(KeyFrame));
        }
    }
    return digest.Value();
}
