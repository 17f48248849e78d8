#pragma once

#include "editor/history/DocumentChange.h"
#include "scene/PartMove.h"

namespace m3d {

// A Part given another parent (Scene::MovePart): its place in the tree and
// the renumbering of the Parts. Undo and redo each apply the move that takes
// the last one back. The keys rewritten with it are a change of their own.
class PartMoveChange : public DocumentChange {
public:
    // undo: the move Scene::MovePart answered for the move just made.
    explicit PartMoveChange(PartMove undo) : pending(std::move(undo)) {}

    void Undo(EditorSession& session) override { Toggle(session); }
    void Redo(EditorSession& session) override { Toggle(session); }
    size_t Bytes() const override { return sizeof(*this) + pending.order.size() * sizeof(int); }
    // A parent link surely changes; partners and tracks may be renumbered.
    SavedDataEffect Effect() const override
    {
        // Renumbering moves the limits' entries of the side file too.
        return {SavedData::PartRecords | SavedData::Partners | SavedData::Motions | SavedData::JointLimits,
                SavedData::PartRecords};
    }
    void ForgetDigests(MotionDigests& digests) const override;

private:
    void Toggle(EditorSession& session);

    PartMove pending;  // the move the next Undo or Redo applies
};

}  // namespace m3d
