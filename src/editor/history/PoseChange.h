#pragma once

#include "editor/history/DocumentChange.h"
#include "math/Matrix4.h"

#include <vector>

namespace m3d {

class Scene;

// The local transforms of some Parts before and after a pose edit.
class PoseChange : public DocumentChange {
public:
    struct Entry {
        int part = -1;
        Matrix4 beforeMatrix, afterMatrix;
        Vec3 beforePosition, afterPosition;
    };
    explicit PoseChange(std::vector<Entry> entries) : entries(std::move(entries)) {}

    void Undo(EditorSession& session) override;
    void Redo(EditorSession& session) override;
    size_t Bytes() const override { return sizeof(*this) + entries.size() * sizeof(Entry); }
    SavedDataEffect Effect() const override { return {}; }
    void ForgetDigests(MotionDigests&) const override {}
    const std::vector<Entry>& Entries() const { return entries; }
    // Takes in later, a pose edit made right after this one: the Parts both
    // moved keep their before here and take later's after.
    void Join(const PoseChange& later);

private:
    void Apply(Scene& scene, bool after) const;

    std::vector<Entry> entries;
};

// The pose of every Part (localMatrix and localPosition), in Part order.
struct PoseRecord {
    std::vector<Matrix4> matrices;
    std::vector<Vec3> positions;
};
PoseRecord PoseOf(const Scene& scene);
// The entries for the Parts whose pose differs bit for bit between before and
// the Scene's present pose (Parts beyond either record are not compared).
std::vector<PoseChange::Entry> PoseDifferences(const PoseRecord& before, const Scene& scene);
// Puts record's pose back into the Parts it covers (no recomposition).
void RestorePose(Scene& scene, const PoseRecord& record);

// Every Part's pose and mesh world, to put back bit for bit after a drag is
// cancelled or the frames of a movie were posed.
struct PoseSnapshot {
    PoseRecord pose;
    std::vector<Matrix4> meshWorlds;  // identity for a Part without a mesh
};
PoseSnapshot SnapshotOf(const Scene& scene);
// Puts snapshot back into the Parts it covers, meshes included.
void RestoreSnapshot(Scene& scene, const PoseSnapshot& snapshot);

}  // namespace m3d
