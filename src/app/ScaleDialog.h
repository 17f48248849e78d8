#pragma once

#include <optional>

class QWidget;

namespace m3d {

// "スケールの調整": the scale dialog (template 227, starting at 1 every time);
// a factor of 0.0001 ... 10000 on OK, nothing on Cancel.
std::optional<float> AskScaleFactor(QWidget* parent);

}  // namespace m3d
