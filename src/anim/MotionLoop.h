#pragma once

#include <cstdint>
#include <vector>

namespace m3d {

class Scene;
struct Motion;
struct MotionTrack;

// Whether motion (of scene's Parts) is a loop: some Part has a key at its
// last frame, and that frame shows the pose of frame 0 (every Part's world
// matrix NearlyEqualMatrices within kRedundantKeyTolerance).
// False for a Motion of length 0, and for one that only holds still.
bool MotionEndsAsItStarts(const Scene& scene, const Motion& motion);

// The last frame a picture that plays motion over and over should draw: its
// length, or one before it when the last frame repeats frame 0 (a Motion
// switched to loop, or one that ends as it starts).
int LastFrameToDraw(const Scene& scene, const Motion& motion);

// The frames first ... last past the end of a loop of loopLength frames
// (above 0) where its next cycles repeat a key of track: f + n * loopLength
// for each key f in 1 ... loopLength and n from 1 on (the last frame is
// frame 0 again), ascending. Empty for loopLength 0.
std::vector<int32_t> RepeatedKeyFrames(const MotionTrack& track, int32_t loopLength, int first, int last);

}  // namespace m3d
