#include "editor/PoseHistory.h"

#include "editor/EditorEvents.h"
#include "scene/Scene.h"

#include <algorithm>

void PoseHistory::RestartHistory()
{
    FreeHistory();
    InitHistory();
    PushUndo();
}

void PoseHistory::FreeHistory()
{
    slots.clear();
    slots.shrink_to_fit();
    recording = false;
    snapshotCount = 0;
    current = 0;
    partCount = 0;
}

void PoseHistory::InitHistory()
{
    partCount = scene.PartCount();
    snapshotCount = 0;
    current = -1;
    slots.clear();
    recording = true;
}

void PoseHistory::PushUndo()
{
    if (!recording) return;
    if (current < snapshotCount - 1) snapshotCount = current + 1;
    ++current;
    if (current == static_cast<int>(slots.size()) && current < kSlotCount) {
        // Zero-filled rather than identity: entries past the Scene's Parts hold no pose.
        const Matrix4 zero{{}};
        Snapshot& added = slots.emplace_back();
        added.world.assign(partCount, zero);
        added.local.assign(partCount, zero);
        added.position.assign(partCount, Vec3{});
    }
    if (current >= kSlotCount) {
        // Slot k takes the contents of slot k + 1; the oldest buffers are
        // recycled as the new last slot, which is overwritten below.
        std::rotate(slots.begin(), slots.begin() + 1, slots.end());
        --snapshotCount;
        --current;
    }
    Snapshot& slot = slots[current];
    const int count = std::min(partCount, scene.PartCount());
    for (int i = 0; i < count; ++i) {
        const Part& part = *scene.parts[i];
        slot.world[i] = scene.WorldMatrixOf(i);
        slot.local[i] = part.localMatrix;
        slot.position[i] = part.localPosition;
    }
    ++snapshotCount;
    UpdateUndoButtons();
}

void PoseHistory::Undo()
{
    if (current <= 0) return;
    --current;
    Restore(slots[current]);
    events.Publish(PoseChanged{});
    UpdateUndoButtons();
}

void PoseHistory::Redo()
{
    if (current >= snapshotCount - 1) return;
    ++current;
    Restore(slots[current]);
    events.Publish(PoseChanged{});
    UpdateUndoButtons();
}

void PoseHistory::Restore(const Snapshot& slot)
{
    // The stored world matrices are complete, so no recomposition down the tree is needed.
    const int count = std::min(partCount, scene.PartCount());
    for (int i = 0; i < count; ++i) {
        Part& part = *scene.parts[i];
        if (part.mesh) {
            part.mesh->SetMatrix(slot.world[i]);
            part.mesh->SetPosition(slot.world[i].Translation());
        }
        part.localMatrix = slot.local[i];
        part.localPosition = slot.position[i];
    }
}

bool PoseHistory::UndoEnabled() const { return !playing && current > 0; }

bool PoseHistory::RedoEnabled() const { return !playing && current < snapshotCount - 1; }

void PoseHistory::UpdateUndoButtons() { events.Publish(HistoryButtonsChanged{UndoEnabled(), RedoEnabled()}); }
