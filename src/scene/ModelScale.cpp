#include "scene/ModelScale.h"

#include "scene/Scene.h"

bool ScaleModel(Scene& scene, float factor)
{
    // Written so that NaN is refused too.
    if (!(factor >= MIN_MODEL_SCALE && factor <= MAX_MODEL_SCALE)) return false;
    for (auto& part : scene.parts) {
        if (!part->mesh) continue;
        part->mesh->SetScale(factor, factor, factor);
        part->mesh->ReleaseVB();
        part->mesh->SetVB();
    }
    for (Motion& motion : scene.motions)
        for (MotionTrack& track : motion.tracks)
            for (KeyFrame& key : track.keys) key.matrix.SetTranslation(key.matrix.Translation() * factor);
    return true;
}
