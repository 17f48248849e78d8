#pragma once

#include "view/ViewRenderer.h"

#include <cstdint>
#include <vector>

class EditorSession;

// The tints of the onion skin's ghosts (ARGB, about a third opaque): the
// pose at the previous key bluish, at the next key orange.
inline constexpr uint32_t ONION_PREVIOUS_TINT = 0x553C8CFFu;
inline constexpr uint32_t ONION_NEXT_TINT = 0x55FF8C3Cu;

// The ghosts the views' onion skin shows: the current Motion's poses at the
// key frames just before and just after the current frame (of any track,
// NeighbourKeyFrames), the previous first. None while playing, without a
// current Motion, or while no view has its onion skin on; then nothing is
// evaluated at all.
std::vector<PoseGhost> OnionSkinGhosts(const EditorSession& session);
