#pragma once

#include "io/Outcome.h"

#include <string_view>

namespace m3d {

// The two chunks of a binary glTF (.glb), as views into the file's bytes.
struct GlbChunks {
    std::string_view json;
    std::string_view bin;  // empty when the file has no BIN chunk
    bool hasBin = false;
};

// Whether bytes start like a .glb ("glTF").
bool IsGlb(std::string_view bytes);

// Finds the JSON chunk (the first) and the BIN chunk (the second, optional)
// of a .glb, checking the header's version and length and every chunk's
// length against the bytes there are. On failure the message is the reason
// alone ("the file is cut short: ..."), without the file's name.
Outcome SplitGlb(std::string_view bytes, GlbChunks& out);

}  // namespace m3d
