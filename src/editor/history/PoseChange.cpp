#include "editor/history/PoseChange.h"

#include "editor/EditorSession.h"
#include "scene/PartPlacement.h"

#include <algorithm>
#include <cstring>

namespace m3d {

namespace {

template <typename T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

}  // namespace

void PoseChange::Apply(Scene& scene, bool after) const
{
    for (const Entry& e : entries) {
        Part* part = scene.PartAt(e.part);
        if (!part) continue;
        part->localMatrix = after ? e.afterMatrix : e.beforeMatrix;
        part->localPosition = after ? e.afterPosition : e.beforePosition;
    }
    scene.UpdateHierarchy(0);
}

void PoseChange::Join(const PoseChange& later)
{
    for (const Entry& next : later.entries) {
        const auto same =
            std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.part == next.part; });
        if (same == entries.end()) {
            entries.push_back(next);
        } else {
            same->afterMatrix = next.afterMatrix;
            same->afterPosition = next.afterPosition;
        }
    }
}

void PoseChange::Undo(EditorSession& session) { Apply(session.GetScene(), false); }

void PoseChange::Redo(EditorSession& session) { Apply(session.GetScene(), true); }

PoseRecord PoseOf(const Scene& scene)
{
    PoseRecord record;
    record.matrices.reserve(scene.Parts().size());
    record.positions.reserve(scene.Parts().size());
    for (const auto& part : scene.Parts()) {
        record.matrices.push_back(part->localMatrix);
        record.positions.push_back(part->localPosition);
    }
    return record;
}

std::vector<PoseChange::Entry> PoseDifferences(const PoseRecord& before, const Scene& scene)
{
    std::vector<PoseChange::Entry> entries;
    const size_t count = std::min(before.matrices.size(), scene.Parts().size());
    for (size_t i = 0; i < count; ++i) {
        const Part& part = *scene.Parts()[i];
        if (SameBits(part.localMatrix, before.matrices[i]) && SameBits(part.localPosition, before.positions[i]))
            continue;
        entries.push_back(
            {static_cast<int>(i), before.matrices[i], part.localMatrix, before.positions[i], part.localPosition});
    }
    return entries;
}

void RestorePose(Scene& scene, const PoseRecord& record)
{
    const size_t count = std::min(record.matrices.size(), scene.Parts().size());
    for (size_t i = 0; i < count; ++i) {
        scene.Parts()[i]->localMatrix = record.matrices[i];
        scene.Parts()[i]->localPosition = record.positions[i];
    }
}

PoseSnapshot SnapshotOf(const Scene& scene)
{
    PoseSnapshot snapshot{PoseOf(scene), {}};
    snapshot.meshWorlds.reserve(scene.Parts().size());
    for (const auto& part : scene.Parts())
        snapshot.meshWorlds.push_back(part->mesh ? part->mesh->GetMatrix() : Matrix4{});
    return snapshot;
}

void RestoreSnapshot(Scene& scene, const PoseSnapshot& snapshot)
{
    RestorePose(scene, snapshot.pose);
    const int count = std::min(scene.PartCount(), static_cast<int>(snapshot.meshWorlds.size()));
    for (int i = 0; i < count; ++i)
        if (scene.Parts()[size_t(i)]->mesh) SetMeshWorld(scene, i, snapshot.meshWorlds[size_t(i)]);
}

}  // namespace m3d
