#pragma once

#include "editor/history/DocumentChange.h"
#include "math/Vec3.h"

#include <vector>

namespace m3d {

// The vertices of one Part's mesh moved (its pivot moved, it was resized):
// undo and redo put the positions of either side back bit for bit.
class PartGeometryChange : public DocumentChange {
public:
    // part: its index; before and after: its vertex positions, same count.
    PartGeometryChange(int part, std::vector<Vec3> before, std::vector<Vec3> after)
        : part(part), before(std::move(before)), after(std::move(after))
    {
    }
    void Undo(EditorSession& session) override { Put(session, before); }
    void Redo(EditorSession& session) override { Put(session, after); }
    size_t Bytes() const override { return sizeof(*this) + (before.size() + after.size()) * sizeof(Vec3); }
    SavedDataEffect Effect() const override { return {SavedData::Geometry, SavedData::Geometry}; }
    void ForgetDigests(MotionDigests&) const override {}

private:
    void Put(EditorSession& session, const std::vector<Vec3>& positions) const;

    int part;
    std::vector<Vec3> before, after;
};

}  // namespace m3d
