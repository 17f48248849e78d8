#pragma once

#include "settings/SettingsValues.h"
#include "view/ViewDisplay.h"
#include "view/ViewState.h"

namespace m3d {

// Moves the values of the settings file between their plain record and the
// views, display switches and colours that use them. Values whose owners live
// elsewhere (folders, frame rate, export time scale) stay in the record.

// Stores the record's values into their owners. Each view's type is stored
// without moving its camera (FitViews places the cameras afterwards). Values
// that would break drawing are replaced: a split outside 0.05 ... 0.95 is
// clamped, a scale that is not a positive number and a light direction of no
// length fall back to their defaults, an unknown view type to the view's
// default type, the grid width is clamped to 1 ... 10000, and a draw mode other
// than 1 means edges.
void ApplySettings(const SettingsValues& values, ViewState& views, ViewDisplays& displays, ColourTable& colours);

// Copies the current values of the owners back into the record.
void GatherSettings(SettingsValues& values, const ViewState& views, const ViewDisplays& displays,
                    const ColourTable& colours);

}  // namespace m3d
