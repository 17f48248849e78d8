#pragma once

#include "view/ViewState.h"

namespace m3d {

// One step of the display toolbar's zoom and pan drags on view i, for a cursor
// that moved by dx, dy pixels (right and down positive). Both return whether a
// camera or the scale changed. A Pers view's saved pair follows its camera.

// Zoom. Pers: the eye moves along the line to the target so that the distance
// becomes d x (1 + dy x 0.01); a step that would bring it within 0.1 of the
// target (or through it) is refused. Orthographic: the shared scale becomes
// scale x (1 + dy x 0.05), so every orthographic view zooms; a step that would
// leave no positive, normal float (an upward step of 20 pixels or more, or an
// overflow) is refused.
bool ZoomStep(ViewState& views, int i, int dy);

// Pan. Orthographic: every orthographic view moves its eye and target by
// -scale x (dx x screen right + dy x screen down) of view i's type, so the
// scene follows the cursor in view i and all of them stay together. Pers: eye
// and target move across the line of sight by 0.002 of the distance per pixel,
// against dx and with dy.
bool PanStep(ViewState& views, int i, int dx, int dy);

}  // namespace m3d
