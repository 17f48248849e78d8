#pragma once

namespace m3d {

class Scene;

// Operations that rework every key of one Motion at once. Each does nothing
// for a Motion index outside the list. They may leave the model posed at any
// frame they visited: the caller shows the frame it wants afterwards.

// Two key matrices count as equal when no element differs by more than this.
constexpr float kRedundantKeyTolerance = 0.0001f;

// Deletes every key (never a frame-0 key) whose track, without it, still
// gives the pose it gave before within kRedundantKeyTolerance, and a last key
// equal to its predecessor; keys are tried in frame order, each against the
// keys kept before it. On a track of linear keys alone a key goes when
// interpolating between the last key kept and the next reproduces it at its
// own frame; on any other track the pose must stay at every frame that the
// neighbouring segments span (in a loop, the two keys at each end of such a
// track always stay, since its curves wrap). The pose is not touched. Returns the number of
// keys deleted.
int DeleteRedundantKeys(Scene& scene, int motion);

// Exchanges left and right over the whole Motion: at every frame the Motion
// as it was before the command is evaluated and mirrored (see MirrorPose), and
// each Part is keyed with that pose exactly where its partner (the Part itself
// without one) had a key, its key there deleted otherwise. Keys thus move to
// the partner's track with the partner's timing and interpolations; every
// Part keeps its own path of positions.
void MirrorMotion(Scene& scene, int motion);

// At every frame where at least one top-level Part has a key, lifts the pose
// so its lowest vertex lies on y = 0 and keys every top-level Part there (a
// key made there takes the interpolation of the segment it splits). A
// model without any vertex has no lowest point: its keys are left alone.
void GroundAllKeyframes(Scene& scene, int motion);

// For every key of Part part's track: the Part at that frame is turned to
// keep its heading in the world and lose all pitch and bank, and keyed so
// (no partner is changed; children follow through the hierarchy). Nothing
// happens for a Part index outside the tracks.
void LevelPartInAllKeyframes(Scene& scene, int motion, int part);

// Turns the Motion by 180 degrees about the vertical axis: every key of every
// top-level Part becomes key x R, R the rotation by 3.1415927 about Y, so its
// position (x, y, z) becomes (-x, y, -z). Child keys are relative to their
// parents and stay.
void TurnMotionAround(Scene& scene, int motion);

}  // namespace m3d
