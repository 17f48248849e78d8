#pragma once

#include "view/ViewRenderer.h"

#include <cstdint>
#include <vector>

namespace m3d {

class EditorSession;

// The tints of the onion skin's ghosts (ARGB, half opaque): the pose at the
// previous key blue, at the next key orange.
inline constexpr uint32_t kOnionPreviousTint = 0x804DA6FFu;
inline constexpr uint32_t kOnionNextTint = 0x80FF9640u;

// The ghosts the views' onion skin shows: the current Motion's poses at the
// key frames just before and just after the current frame (of any track,
// NeighbourKeyFrames), the previous first. None while playing, without a
// current Motion, or while no view has its onion skin on; then nothing is
// evaluated at all.
std::vector<PoseGhost> OnionSkinGhosts(const EditorSession& session);

}  // namespace m3d
