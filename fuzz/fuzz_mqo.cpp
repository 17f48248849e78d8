// Feeds arbitrary bytes to the .mqo reader. Run with the real files as seeds:
//   build-fuzz/bin/fuzz_mqo -dict=fuzz/mqo.dict -max_total_time=300 corpus/ tests/data/mqo/
#include "meshlib/MqoReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace m3d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadedModel model;
    const Outcome read = ReadMqo(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.mqo", model);
    const bool ok = read.Ok();
    // A success must hand out a model whose indices can be followed blindly.
    if (ok) {
        for (uint32_t index : model.indices)
            if (index >= model.vertices.size()) __builtin_trap();
        for (uint32_t material : model.triangleMaterials)
            if (material >= model.materials.size()) __builtin_trap();
        if (model.indices.size() != model.triangleMaterials.size() * 3) __builtin_trap();
    } else if (read.Message().empty()) {
        __builtin_trap();
    }
    return 0;
}
