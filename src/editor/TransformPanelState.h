#pragma once

#include "editor/ShownRotations.h"
#include "view/TransformOperations.h"

namespace m3d {

// The transform panel's fields. The grid plane check boxes write the view
// state's grid flags directly, which the drawing and the settings file read.
struct TransformPanelState {
    // The twelve edit fields: refilled from the current Part after every edit,
    // read by the "Set" buttons (the panel copies its controls in first).
    TransformValues fields;
    // The rotations each Part's fields showed last: the fields are refilled near them.
    ShownRotations shownRotations;
    // "左右連動": every edit also changes the symmetry partners (0 or 1).
    int linkLR = 0;
};

}  // namespace m3d
