#pragma once

#include "math/Vec3.h"

#include <optional>

class QWidget;

namespace m3d {

class Scene;

// "ピボットの移動": where the current Part's pivot goes, in its own
// coordinates (0, 0, 0 is where it is). Three fields, and buttons that fill
// them with the centre of the Part's box, the centre of its bottom or the
// world origin. Nothing on Cancel.
std::optional<Vec3> AskPivotPoint(const Scene& scene, int part, QWidget* parent);

// "サイズ変更": a factor of 0.0001 ... 10000 for the current Part's geometry
// (1 at first); nothing on Cancel.
std::optional<float> AskPartScale(QWidget* parent);

}  // namespace m3d
