#pragma once

#include "io/Outcome.h"
#include "meshlib/MeshContent.h"

#include <string>
#include <string_view>

namespace m3d {

// Our .mesh file: little-endian binary, laid out in docs/mesh-format.md.

constexpr uint32_t kMeshFileVersion = 1;

// True when bytes begin with the .mesh magic (whatever follows).
bool HasMeshFileMagic(std::string_view bytes);

// The file image of content (which must hold the MeshContent invariants).
std::string EncodeMeshFile(const MeshContent& content);

// Reads a whole .mesh file image. Nothing in it is trusted: every count is
// checked against the bytes left before anything is allocated, and every
// index, material number, texture number, flag, name and float is checked.
// On failure leaves out untouched; the message is
// "<fileName>: byte <offset>: <reason>".
Outcome DecodeMeshFile(std::string_view bytes, const std::string& fileName, MeshContent& out);

}  // namespace m3d
