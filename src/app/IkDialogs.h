#pragma once

#include "editor/CommandHost.h"

class QWidget;

namespace m3d {

// "ポール": the point (world coordinates) the current Part's two-Part chain
// bends toward, starting from shown; "ポールなし" answers no pole. Nothing
// on Cancel.
std::optional<PoleAnswer> AskPole(std::optional<Vec3> shown, QWidget* parent);

// "関節の制限": free, or one local axis with a range of -180 ... 180 degrees
// (minimum not above maximum), starting from current. Nothing on Cancel.
std::optional<JointLimit> AskJointLimit(const JointLimit& current, QWidget* parent);

}  // namespace m3d
