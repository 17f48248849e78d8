#pragma once

#include "editor/history/DocumentChange.h"
#include "scene/JointLimit.h"

namespace m3d {

// A Part given another joint limit. Undo and redo exchange the limit kept
// here with the Part's.
class JointLimitChange : public DocumentChange {
public:
    // Part part was just given a new limit; limit is the one it had.
    JointLimitChange(int part, const JointLimit& limit) : part(part), limit(limit) {}

    void Undo(EditorSession& session) override { Exchange(session); }
    void Redo(EditorSession& session) override { Exchange(session); }
    size_t Bytes() const override { return sizeof(*this); }
    // Made only for a limit that differs, which the side file then writes differently.
    SavedDataEffect Effect() const override { return {SavedData::JointLimits, SavedData::JointLimits}; }
    void ForgetDigests(MotionDigests&) const override {}

private:
    void Exchange(EditorSession& session);

    int part;
    JointLimit limit;
};

}  // namespace m3d
