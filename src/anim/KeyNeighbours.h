#pragma once

#include "scene/Motion.h"

namespace m3d {

// Which way to look from a frame for a key.
enum class KeyDirection { Previous, Next };

// The frame of the nearest key strictly before (Previous) or after (Next)
// frame in Part part's track of motion, or in any Part's track when part is
// -1; -1 when there is none (or part is outside the tracks).
int NeighbourKeyFrame(const Motion& motion, int part, int frame, KeyDirection direction);

}  // namespace m3d
