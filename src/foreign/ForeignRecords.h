#pragma once

#include "foreign/ForeignModel.h"
#include "io/Outcome.h"

#include <string>
#include <string_view>

namespace m3d {

// The binary form in which a reader's child process hands a ForeignModel
// back (little-endian, versioned; private to this program, never stored).

// The bytes of model.
std::string EncodeForeignModel(const ForeignModel& model);

// Reads the bytes back, trusting nothing: every count is checked against the
// bytes left before anything is allocated, and the model must hold together
// (at most kMaxModelNodes nodes, parents before children, mesh, material,
// image and node numbers in range, key times strictly ascending, value
// counts matching the keys, every float finite), so that whoever takes it
// need not check again. On failure out is left empty and the message is
// "<fileName>: byte <offset>: <reason>".
Outcome DecodeForeignModel(std::string_view bytes, const std::string& fileName, ForeignModel& out);

}  // namespace m3d
