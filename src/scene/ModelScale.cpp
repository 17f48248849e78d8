#include "scene/ModelScale.h"

#include "scene/Scene.h"

#include <cmath>

namespace m3d {

namespace {

bool ScaledFinite(Vec3 p, float factor)
{
    return std::isfinite(p.x * factor) && std::isfinite(p.y * factor) && std::isfinite(p.z * factor);
}

// Whether every vertex and every key translation stays a float after scaling:
// a model that overflowed could no longer be saved.
bool StaysFinite(const Scene& scene, float factor)
{
    for (const auto& part : scene.parts) {
        if (!part->mesh) continue;
        for (int k = 0; k < part->mesh->GetVertexNum(); ++k) {
            const _MESH_VERTEX* v = part->mesh->GetVertex(k);
            if (!ScaledFinite({v->x, v->y, v->z}, factor)) return false;
        }
    }
    for (const Motion& motion : scene.motions)
        for (const MotionTrack& track : motion.tracks)
            for (const KeyFrame& key : track.keys)
                if (!ScaledFinite(key.matrix.Translation(), factor)) return false;
    return true;
}

}  // namespace

bool ScaleModel(Scene& scene, float factor)
{
    // Written so that NaN is refused too.
    if (!(factor >= kMinModelScale && factor <= kMaxModelScale)) return false;
    if (!StaysFinite(scene, factor)) return false;
    ApplyModelScale(scene, factor);
    return true;
}

void ApplyModelScale(Scene& scene, float factor)
{
    for (auto& part : scene.parts) {
        if (!part->mesh) continue;
        part->mesh->SetScale(factor, factor, factor);
        part->mesh->ReleaseVB();
        part->mesh->SetVB();
    }
    for (Motion& motion : scene.motions)
        for (MotionTrack& track : motion.tracks)
            for (KeyFrame& key : track.keys) key.matrix.SetTranslation(key.matrix.Translation() * factor);
}

}  // namespace m3d
