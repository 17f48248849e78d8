#pragma once

namespace m3d {

class Scene;
struct Motion;

// Whether motion (of scene's Parts) is a loop: some Part has a key at its
// last frame, and that frame shows the pose of frame 0 (every Part's world
// matrix NearlyEqualMatrices within kRedundantKeyTolerance).
// False for a Motion of length 0, and for one that only holds still.
bool MotionEndsAsItStarts(const Scene& scene, const Motion& motion);

// The last frame a picture that plays motion over and over should draw: its
// length, or one before it when the last frame repeats frame 0 (a Motion
// switched to loop, or one that ends as it starts).
int LastFrameToDraw(const Scene& scene, const Motion& motion);

}  // namespace m3d
