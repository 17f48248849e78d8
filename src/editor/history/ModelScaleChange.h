#pragma once

#include "editor/history/DocumentChange.h"
#include "math/Vec3.h"

#include <vector>

namespace m3d {

class Scene;

// The whole model scaled by factor: the geometry of every Part and the
// translation of every key. Undo puts back the positions as they were, bit
// for bit; redo scales again.
class ModelScaleChange : public DocumentChange {
public:
    // Takes what a scaling by factor will change; call it just before scaling.
    ModelScaleChange(const Scene& scene, float factor);

    void Undo(EditorSession& session) override;
    void Redo(EditorSession& session) override;
    size_t Bytes() const override;
    // Scaling moves nothing where every vertex or key translation is zero.
    SavedDataEffect Effect() const override
    {
        return {SavedData::Geometry | SavedData::Motions,
                (movesVertices ? SavedData::Geometry : 0u) | (movesKeys ? SavedData::Motions : 0u)};
    }
    void ForgetDigests(MotionDigests& digests) const override { digests.ForgetTracks(); }

private:
    float factor;
    // Per Part (empty for a Part without a mesh) its vertex positions.
    std::vector<std::vector<Vec3>> vertexPositions;
    // Every key's translation, Motion by Motion, track by track, key by key.
    std::vector<Vec3> keyTranslations;
    bool movesVertices = false;
    bool movesKeys = false;
};

}  // namespace m3d
