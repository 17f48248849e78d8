#pragma once

#include "editor/history/DocumentChange.h"
#include "scene/Motion.h"

#include <memory>

namespace m3d {

// A Motion added to the list or deleted from it, at index. While the Motion
// is out of the list the change keeps it, keys and all.
class MotionListChange : public DocumentChange {
public:
    // The Motion at index was just inserted.
    static std::unique_ptr<MotionListChange> Added(int index);
    // motion was just taken out of the list at index.
    static std::unique_ptr<MotionListChange> Removed(int index, Motion motion);

    void Undo(EditorSession& session) override { Toggle(session); }
    void Redo(EditorSession& session) override { Toggle(session); }
    size_t Bytes() const override;
    SavedDataEffect Effect() const override { return {SavedData::Motions, SavedData::Motions}; }
    void ForgetDigests(MotionDigests& digests) const override;

private:
    MotionListChange(int index, bool inList, Motion motion) : index(index), inList(inList), motion(std::move(motion)) {}
    // Takes the Motion out when it is in the list, puts it back when it is not.
    void Toggle(EditorSession& session);

    int index;
    bool inList;
    Motion motion;  // empty while the Motion is in the list
};

}  // namespace m3d
