#pragma once

#include <optional>

class QWidget;

namespace m3d {

// "グリッドの幅を変更": the grid width dialog (template 225) on current; a
// width of 1 ... 10000 on OK, nothing on Cancel.
std::optional<int> AskGridWidth(int current, QWidget* parent);

}  // namespace m3d
