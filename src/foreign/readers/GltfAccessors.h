#pragma once

#include "io/Outcome.h"

#include <tiny_gltf.h>

#include <cstdint>
#include <vector>

namespace m3d {

// Reading accessors from the raw bytes of a parsed document's buffers. Every
// index, count, offset and stride is checked against what it points into
// before a byte is read; a failure's message is the reason alone, naming the
// accessor.

// The elements of accessor index of model, components floats each (1 for
// SCALAR, 2 to 4 for VEC2 to VEC4: the accessor's type must be that one):
// floats as stored, normalised integers by glTF's rules (unsigned c / max,
// signed max(c / max, -1)), other integers as their values. An accessor
// without bufferView starts as zeros; a sparse one has its values put over.
// Every value must be finite.
Outcome ReadGltfFloats(const tinygltf::Model& model, int index, int components, std::vector<float>& out);

// The vertex indices of accessor index of model: a SCALAR of unsigned byte,
// short or int, each below vertexCount.
Outcome ReadGltfIndices(const tinygltf::Model& model, int index, size_t vertexCount, std::vector<uint32_t>& out);

}  // namespace m3d
