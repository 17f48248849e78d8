#pragma once

#include "math/Matrix4.h"

#include <array>
#include <vector>

class EditorEvents;
class Scene;

// The last poses of the model for "Undo" and "Redo": snapshots of every
// Part's transform (never Motions or keys), taken after each completed edit.
// Slots are sized for the Part count of the moment the history was (re)started
// and allocated as poses are recorded, up to kSlotCount; from then on the
// oldest slot's buffers are reused, so a long session allocates no more. The history
// belongs to one Scene and reads and writes that Scene's Parts; the button
// states go out as HistoryButtonsChanged.
class PoseHistory {
public:
    static constexpr int kSlotCount = 100;

    // playing: the session's playback flag, read whenever the buttons are asked about.
    PoseHistory(Scene& scene, EditorEvents& events, const bool& playing)
        : scene(scene), events(events), playing(playing)
    {
    }
    PoseHistory(const PoseHistory&) = delete;
    PoseHistory& operator=(const PoseHistory&) = delete;

    // Starts again from the current pose after the set of Parts or their links
    // changed: FreeHistory, InitHistory, PushUndo. Leaves one snapshot.
    void RestartHistory();
    // Releases every slot; snapshot count, current and part count become 0.
    // Until the next InitHistory a push records nothing.
    void FreeHistory();
    // Empty history (current -1) whose slots will hold the Scene's present
    // Part count; none is allocated until a pose is recorded.
    void InitHistory();
    // Records the present pose after the current slot, dropping any redo steps.
    // When all slots are used the oldest snapshot is discarded. Does nothing
    // while the history is freed.
    void PushUndo();
    // Steps back (Undo) or forward (Redo) one slot and restores that pose into
    // the Parts and their meshes. Nothing happens at either end.
    void Undo();
    void Redo();

    // Whether the buttons may be pressed; never while a Motion is playing.
    bool UndoEnabled() const;
    bool RedoEnabled() const;
    // Reports the two enabled states.
    void UpdateUndoButtons();

    int SnapshotCount() const { return snapshotCount; }
    // Slot of the pose shown: -1 after InitHistory, 0 ... SnapshotCount() - 1 after a push.
    int Current() const { return current; }
    int PartCount() const { return partCount; }

private:
    // One recorded pose: an entry per Part for the mesh's world matrix and the
    // Part's local fields.
    struct Snapshot {
        std::vector<Matrix4> world;
        std::vector<Matrix4> local;
        std::vector<Vec3> position;
    };

    void Restore(const Snapshot& slot);

    Scene& scene;
    EditorEvents& events;
    const bool& playing;
    // The slots recorded so far (at most kSlotCount), partCount entries each.
    std::vector<Snapshot> slots;
    // false while freed: nothing is recorded.
    bool recording = false;
    int snapshotCount = 0;
    int current = 0;
    int partCount = 0;
};
