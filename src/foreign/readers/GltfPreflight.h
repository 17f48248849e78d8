#pragma once

#include "io/Outcome.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// What the document says before the glTF library loads it.
struct GltfPreflight {
    // The model's folder: the files read must stay in it once symbolic links are followed.
    std::string folder;
    // The buffer files it names, beside the model (folder joined, lexically
    // normalised): the only files the library is let read.
    std::vector<std::string> bufferFiles;
};

// Checks the JSON of a glTF document for what the glTF library trusts or
// would fail on without a clear word: the extensions it requires (every one
// but KHR_mesh_quantization is refused by name), buffers (a file name that
// leaves the model's folder or names no readable file, a byteLength that the
// .glb's BIN chunk does not hold), buffer views (a buffer that does not exist,
// a range past the buffer's byteLength) and images (a buffer view that does
// not exist). binary is true for a .glb, binBytes the size of its BIN chunk
// (nullopt without one). The message of a failure is the reason alone.
Outcome CheckGltfJson(std::string_view json, const std::string& folder, bool binary, std::optional<size_t> binBytes,
                      GltfPreflight& out);

}  // namespace m3d
