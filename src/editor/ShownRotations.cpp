#include "editor/ShownRotations.h"

#include "scene/Scene.h"

namespace m3d {

TransformValues ShownRotations::Show(const Scene& scene, int part)
{
    const Part* shown = scene.PartAt(part);
    if (!shown) return {};
    Rotations& rotations = last[shown->id];
    const TransformValues values = TransformValuesOf(scene, part, rotations.relative, rotations.absolute);
    rotations = {values.relativeRotation, values.absoluteRotation};
    return values;
}

void ShownRotations::Typed(const Scene& scene, int part, HeadingPitchBank relative, HeadingPitchBank absolute)
{
    if (const Part* typed = scene.PartAt(part)) last[typed->id] = {relative, absolute};
}

}  // namespace m3d
