#pragma once

namespace m3d {

class Scene;

// Accepted scale factors, inclusive.
constexpr float kMinModelScale = 0.0001f;
constexpr float kMaxModelScale = 10000.0f;

// Scales the whole model by factor about each Part's origin: every mesh's
// geometry (accumulating with earlier scalings) and the translation row of
// every key of every Motion; rotations and frames stay. The pose shown is
// not touched (the caller evaluates a Motion anew). A factor outside
// kMinModelScale ... kMaxModelScale (or NaN), or one that would take a
// vertex or a key translation beyond the float range, changes nothing: false.
bool ScaleModel(Scene& scene, float factor);
// The scaling of ScaleModel without its checks, for a factor it accepted on
// this very model before (redoing it).
void ApplyModelScale(Scene& scene, float factor);

}  // namespace m3d
