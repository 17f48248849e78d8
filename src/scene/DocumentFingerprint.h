#pragma once

#include <cstdint>

class Scene;

// Digest of everything a project save writes: every Part's name, parent,
// partner and geometry (CMesh::ContentDigest), every Motion's name, length
// and keys. Two Scenes that would save to the same
// files give the same value; the pose shown, the tree's check boxes and the
// selection do not count. O(keys) plus O(vertices) of meshes whose geometry
// changed since they were last digested.
uint64_t DocumentFingerprint(const Scene& scene);
