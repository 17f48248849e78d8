// The .mesh reader on arbitrary bytes: it must fail cleanly or give content
// that keeps every invariant the rest of the library relies on.

#include "meshlib/MeshFile.h"

#include <cstdlib>

using namespace m3d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MeshContent content;
    if (const Outcome decoded = DecodeMeshFile(bytes, "fuzz.mesh", content); !decoded) {
        if (decoded.Message().empty()) std::abort();
        return 0;
    }
    for (const _MESH_MESHDATA& m : content.subMeshes) {
        if (m.indexCount != m.indices.size() || m.indexCount < 3 || m.windingFlag > 1) std::abort();
        if (m.materialNumber < 0 || size_t(m.materialNumber) >= content.materials.size()) std::abort();
        for (uint16_t i : m.indices)
            if (uint64_t(m.baseVertex) + i >= content.vertices.size()) std::abort();
    }
    // What was read writes back to the same bytes.
    if (EncodeMeshFile(content) != bytes) std::abort();
    return 0;
}
