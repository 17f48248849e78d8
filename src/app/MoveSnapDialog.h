#pragma once

#include <optional>

class QWidget;

namespace m3d {

// "移動のスナップ": the step of a move with Ctrl held, in units (fractions
// allowed), starting at current; 0 ... PosingState::kMaxMoveSnap on OK
// (0: the grid's width), nothing on Cancel.
std::optional<float> AskMoveSnap(float current, QWidget* parent);

}  // namespace m3d
