#pragma once

#include "editor/history/DocumentChange.h"
#include "scene/DetachedParts.h"

#include <memory>
#include <vector>

namespace m3d {

// Parts added to the model or deleted from it (a Part with its subtree),
// with their meshes, places in the tree, partners and keys. While the Parts
// are out of the model the change keeps them.
class PartSetChange : public DocumentChange {
public:
    // The Parts at indices (ascending) were just added.
    static std::unique_ptr<PartSetChange> Added(std::vector<int> indices);
    // detached was just taken out of the model.
    static std::unique_ptr<PartSetChange> Removed(DetachedParts detached);

    void Undo(EditorSession& session) override { Toggle(session); }
    void Redo(EditorSession& session) override { Toggle(session); }
    size_t Bytes() const override;
    // The number of Parts changes; their tracks, partners and geometry go with them.
    SavedDataEffect Effect() const override
    {
        return {SavedData::PartRecords | SavedData::Partners | SavedData::Geometry | SavedData::Motions |
                    SavedData::JointLimits,
                SavedData::PartRecords};
    }
    void ForgetDigests(MotionDigests& digests) const override;

private:
    PartSetChange(std::vector<int> indices, bool inModel, DetachedParts detached)
        : indices(std::move(indices)), inModel(inModel), detached(std::move(detached))
    {
    }
    void Toggle(EditorSession& session);

    std::vector<int> indices;
    bool inModel;
    DetachedParts detached;  // empty while the Parts are in the model
};

}  // namespace m3d
