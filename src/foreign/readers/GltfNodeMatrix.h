#pragma once

#include "foreign/ForeignModel.h"

namespace m3d {

// How well a node's matrix came apart into translation, rotation and scale.
enum class MatrixFit : uint8_t {
    Exact = 0,       // the TRS gives the matrix back (to float precision)
    Sheared = 1,     // the axes were not at right angles: the nearest rotation and the axes' lengths kept
    Singular = 2,    // an axis of no length, or all in one plane: the identity rotation and the lengths kept
    Projective = 3,  // the last row was not (0, 0, 0, 1): it is ignored
};

// Splits glTF's column-major matrix (16 values of at most 1e30 in size, so
// that every length made of them fits a float) into node's
// translation, rotation and scale. A mirroring matrix comes out exactly with
// a negative x scale.
MatrixFit DecomposeNodeMatrix(const double matrix[16], ForeignNode& node);

}  // namespace m3d
