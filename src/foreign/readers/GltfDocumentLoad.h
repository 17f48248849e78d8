#pragma once

#include "io/Outcome.h"

#include <tiny_gltf.h>

#include <string>

namespace m3d {

// Parses a glTF document, bytes being a .gltf's JSON or a whole .glb (told
// apart by the .glb's magic), with its buffers: data URIs, the .glb's BIN
// chunk, or files in folder (the model's). The library only parses: images
// are not decoded (Image::image keeps the encoded bytes of an embedded one;
// one in a file keeps its uri and nothing is read), and the only files it
// may open are the buffer files the document names beside the model. The
// message of a failure is the reason alone. Running out of memory throws
// std::bad_alloc.
Outcome LoadGltfDocument(const std::string& bytes, const std::string& folder, tinygltf::Model& model);

}  // namespace m3d
