#pragma once

#include "foreign/ForeignModel.h"

namespace m3d {

// Turns a model from the readers' space (right-handed, +Y up, counter-
// clockwise fronts) into the editor's (left-handed, +Y up, clockwise
// fronts) by mirroring Z, the mapping the glTF export applies the other way
// (a mirror is its own inverse, so an exported file comes back with the
// numbers it was written from): points and translations (x, y, -z), normals
// likewise, rotations (-x, -y, z, w), the corners of every triangle in the
// opposite order. Lengths (positions, translations and their tangents) are
// multiplied by scale, which must be finite and positive, and a known unit
// divided by it (a metre model at scale 100 is in centimetres). A vertex whose
// normal is zero gets the area-weighted normal of the faces around it.
void ToEditorSpace(ForeignModel& model, float scale);

}  // namespace m3d
