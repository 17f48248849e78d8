#include "editor/history/ModelScaleChange.h"

#include "editor/EditorSession.h"
#include "scene/ModelScale.h"

namespace m3d {

ModelScaleChange::ModelScaleChange(const Scene& scene, float factor) : factor(factor)
{
    const auto moves = [factor](Vec3 p) { return !(p * factor == p); };
    for (const auto& part : scene.Parts()) {
        vertexPositions.push_back(part->mesh ? part->mesh->GetVertexPositions() : std::vector<Vec3>{});
        for (const Vec3& p : vertexPositions.back()) movesVertices = movesVertices || moves(p);
    }
    for (const Motion& motion : scene.Motions())
        for (const MotionTrack& track : motion.tracks)
            for (const KeyFrame& key : track.keys) {
                keyTranslations.push_back(key.matrix.Translation());
                movesKeys = movesKeys || moves(keyTranslations.back());
            }
}

size_t ModelScaleChange::Bytes() const
{
    size_t bytes = sizeof(*this) + keyTranslations.size() * sizeof(Vec3);
    for (const auto& positions : vertexPositions) bytes += sizeof(positions) + positions.size() * sizeof(Vec3);
    return bytes;
}

void ModelScaleChange::Undo(EditorSession& session)
{
    Scene& scene = session.GetScene();
    for (size_t i = 0; i < scene.Parts().size() && i < vertexPositions.size(); ++i)
        if (CMesh* mesh = scene.Parts()[i]->mesh.get()) mesh->SetVertexPositions(vertexPositions[i]);
    size_t k = 0;
    for (Motion& motion : scene.MutableMotions())
        for (MotionTrack& track : motion.tracks)
            for (KeyFrame& key : track.keys)
                if (k < keyTranslations.size()) key.matrix.SetTranslation(keyTranslations[k++]);
}

void ModelScaleChange::Redo(EditorSession& session) { ApplyModelScale(session.GetScene(), factor); }

}  // namespace m3d
