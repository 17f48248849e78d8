#include "anim/ImportScale.h"

#include "foreign/ChannelSampling.h"
#include "foreign/NodeWorlds.h"
#include "scene/ModelScale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace m3d {

Vec3 RestSizeOf(const ForeignModel& model)
{
    const std::vector<NodeWorld> worlds = NodeWorldsOf(model, NodeTransformsAt(model, -1, 0.0));
    constexpr float kNone = std::numeric_limits<float>::infinity();
    Vec3 low{kNone, kNone, kNone}, high{-kNone, -kNone, -kNone};
    for (size_t n = 0; n < model.nodes.size() && n < worlds.size(); ++n) {
        const int32_t mesh = model.nodes[n].mesh;
        if (mesh < 0 || size_t(mesh) >= model.meshes.size()) continue;
        for (const _MESH_VERTEX& v : model.meshes[size_t(mesh)].geometry.vertices) {
            const Vec3 p = TransformPoint(Vec3{v.x, v.y, v.z}, worlds[n].full);
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
    }
    if (!(low.x <= high.x)) return {};
    return high - low;
}

float ProposedImportScale(double extent, double modelUnit, double projectUnit)
{
    double scale = 1.0;
    if (IsKnownLengthUnit(modelUnit) && IsKnownLengthUnit(projectUnit)) {
        scale = modelUnit / projectUnit;
    } else if (std::isfinite(extent) && extent > 0.0) {
        while (extent * scale < kWorkingSizeLow && scale < kMaxModelScale) scale *= 10.0;
        while (extent * scale >= kWorkingSizeHigh && scale > kMinModelScale) scale /= 10.0;
    }
    return std::clamp(static_cast<float>(scale), kMinModelScale, kMaxModelScale);
}

std::string ModelSizeText(const Vec3& size, double metresPerUnit)
{
    const double sides[3] = {size.x, size.y, size.z};
    std::string text;
    for (const double side : sides)
        text += (text.empty() ? "" : " × ") +
                (IsKnownLengthUnit(metresPerUnit) ? MetricLengthText(side * metresPerUnit) : LengthFigure(side));
    return text;
}

}  // namespace m3d
