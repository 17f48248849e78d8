#pragma once

#include <cstdint>
#include <vector>

namespace m3d {

class Scene;
struct Motion;
struct MotionTrack;

// Digests of everything a project save writes, for telling whether the
// document still equals what was saved. Two Scenes that would save to the
// same files give the same values; the pose shown, the tree's check boxes
// and the selection do not count. The document's value is built from parts
// (its Parts; each Motion from its name and length and its tracks), so a
// caller may keep the parts' values and work out again only those that changed.

// Every Part's name, parent, partner, joint limit and geometry (CMesh::ContentDigest),
// and the length unit.
uint64_t PartsFingerprint(const Scene& scene);
// A Motion's name, length, number of tracks and loop switch.
uint64_t MotionHeaderFingerprint(const Motion& motion);
// A track's keys; O(keys).
uint64_t TrackFingerprint(const MotionTrack& track);
// One value from first and the others in order: a Motion from its header and
// tracks, the document from its Parts and Motions.
uint64_t CombineFingerprints(uint64_t first, const std::vector<uint64_t>& others);
// The document's value worked out afresh: O(keys) plus the meshes changed since last digested.
uint64_t DocumentFingerprint(const Scene& scene);

}  // namespace m3d
