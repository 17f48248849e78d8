// The decoder of the records a reader child hands back (read-model) on
// arbitrary bytes: the editor trusts what it accepts, so whatever passes must
// hold together as promised, and must write back to the same bytes.

#include "foreign/ForeignRecords.h"

#include <cmath>
#include <cstdlib>

using namespace m3d;

namespace {

bool Finite(const std::vector<float>& values)
{
    for (float v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ForeignModel model;
    if (const Outcome decoded = DecodeForeignModel(bytes, "fuzz.records", model); !decoded) {
        if (decoded.Message().empty() || !model.nodes.empty() || !model.meshes.empty()) std::abort();
        return 0;
    }
    if (model.nodes.size() > kMaxModelNodes) std::abort();
    for (size_t n = 0; n < model.nodes.size(); ++n) {
        const ForeignNode& node = model.nodes[n];
        if (node.parent < -1 || node.parent >= int32_t(n)) std::abort();
        if (node.mesh < -1 || node.mesh >= int32_t(model.meshes.size())) std::abort();
    }
    for (const ForeignMesh& mesh : model.meshes) {
        const LoadedModel& g = mesh.geometry;
        if (g.indices.size() != 3 * g.triangleMaterials.size()) std::abort();
        for (uint32_t i : g.indices)
            if (i >= g.vertices.size()) std::abort();
        for (uint32_t m : g.triangleMaterials)
            if (m >= g.materials.size()) std::abort();
        for (int32_t image : mesh.embeddedImages)
            if (image < -1 || image >= int32_t(model.images.size())) std::abort();
    }
    for (const ForeignAnimation& animation : model.animations)
        for (const ForeignChannel& channel : animation.channels) {
            if (channel.node < 0 || size_t(channel.node) >= model.nodes.size()) std::abort();
            const size_t group = size_t(ForeignComponents(channel.path)) *
                                 (channel.interpolation == ForeignInterpolation::CubicSpline ? 3 : 1);
            if (channel.values.size() != channel.times.size() * group) std::abort();
            if (!Finite(channel.times) || !Finite(channel.values)) std::abort();
            for (size_t k = 1; k < channel.times.size(); ++k)
                if (!(channel.times[k] > channel.times[k - 1])) std::abort();
        }
    if (EncodeForeignModel(model) != bytes) std::abort();
    return 0;
}
