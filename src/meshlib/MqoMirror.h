#pragma once

#include "meshlib/MqoDocument.h"

#include <string>

namespace m3d {

// Expands an object's mirror setting into real geometry. For each axis bit in
// the order X, Y, Z, every vertex and face built so far is reflected across
// that coordinate plane: a vertex lying on the plane is its own image (so the
// halves share it), every other vertex gets a new reflected copy, and each
// reflected face lists its corners (with their UVs) in reverse order so it
// still faces outward. Faces lying wholly in the plane are not copied: their
// image would be the same face seen from behind.
//
// Mode 2 ("joined") is treated like mode 1: the halves meet through the shared
// on-plane vertices, but open edges near the plane are not bridged.
//
// Returns false, leaving the object unchanged, when the result would exceed
// the 32-bit corner or vertex numbering.
bool ExpandMirror(MqoObject& object);

}  // namespace m3d
