#pragma once

#include "editor/history/DocumentStep.h"
#include "editor/history/MotionDigests.h"
#include "editor/history/PoseChange.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

namespace m3d {

class EditorSession;

// The one history of the document for "Undo" and "Redo": every change of
// what a project save writes (keys, Motions, Parts, their tree and partners,
// the model scale) and every pose edit, one step per command or drag, in the
// order they happened. A step keeps only what it changed.
//
// The pose is recorded at points (after each completed edit): the history
// keeps the pose of the last point, and a step's pose change runs from there.
// Undo first puts that pose back (edits not recorded yet are dropped, as a
// snapshot history would), then undoes the step.
//
// It also knows whether the document differs from the last save or open.
class DocumentHistory {
public:
    // The history keeps at most kMaxSteps steps and drops its oldest ones
    // while the steps together hold more than kMemoryBound bytes; the newest
    // step always stays.
    static constexpr int kMaxSteps = 1000;
    static constexpr size_t kMemoryBound = size_t{256} << 20;

    explicit DocumentHistory(EditorSession& session);
    DocumentHistory(const DocumentHistory&) = delete;
    DocumentHistory& operator=(const DocumentHistory&) = delete;

    // --- Recording (DocumentEdit does it for the commands) ---

    // Appends step after the current one, dropping the steps that were undone,
    // then applies the bounds. A step without changes is not recorded.
    void Record(DocumentStep step);
    // The pose edits since the last recorded point (null when nothing moved);
    // the recorded point becomes the present pose.
    std::unique_ptr<PoseChange> TakePoseChange();
    // The recorded point becomes the present pose without a change (after the
    // set of Parts changed, or the model was replaced).
    void ResyncPose();
    // Records the pose edits since the last point as one step named label;
    // nothing when nothing moved.
    void PushUndo(const std::string& label);
    // As PushUndo, but when the newest step is the present one, holds only a
    // pose change and has the same label, the edits join it: a run of frame
    // steps is one step, whose undo goes back to the pose before the run.
    void PushUndoJoining(const std::string& label);

    // --- Undo and redo ---

    // One step back or forward; nothing at either end. The session then shows
    // the result (selection, Motion, fields, title, buttons).
    void Undo();
    void Redo();
    // Whether the buttons may be pressed; never while a Motion is playing.
    bool UndoEnabled() const;
    bool RedoEnabled() const;
    // Reports the two enabled states.
    void UpdateUndoButtons();
    // Names of the steps Undo and Redo would take; "" when there is none.
    std::string UndoLabel() const;
    std::string RedoLabel() const;
    // Steps kept, and how many of them lie before the present point.
    int StepCount() const { return static_cast<int>(steps.size()); }
    int Position() const { return position; }
    // Bytes the kept steps hold.
    size_t Bytes() const;

    // Starts an empty history at the present model (a project opened, New).
    void Clear();

    // --- Unsaved changes ---

    // The document as it is now is what was last saved or opened.
    void MarkSaved();
    // The document as it is now is on no disk (restored from a snapshot): it
    // counts as unsaved until saved, also when undone back to here.
    void MarkUnsaved();
    // Whether the document differs from the last save or open; undoing back
    // to it counts as unchanged, and so does any way back to the same content.
    // Changes of the model that bypass the history are not seen.
    bool IsModified() const;
    // Changes with every step recorded, undone or redone, every save and
    // every Clear: the document is the same at two moments of one count.
    uint64_t EditCount() const { return edits; }

private:
    void ApplyStep(DocumentStep& step, bool undo);
    bool Differs() const;
    void DropOldest();

    EditorSession& session;
    std::deque<DocumentStep> steps;
    int position = 0;
    // Number of steps dropped from the front since the last Clear: the
    // absolute place of the present point is firstSerial + position.
    int64_t firstSerial = 0;
    PoseRecord recordedPose;
    // Absolute place of the last save or open (-1: no longer reachable by
    // steps), and the document's fingerprint then.
    int64_t savedPoint = 0;
    uint64_t savedFingerprint = 0;
    mutable MotionDigests digests;
    // IsModified's answer, worked out once per state: edits counts every
    // recorded, undone or redone step and every save.
    uint64_t edits = 0;
    mutable uint64_t answeredEdits = ~uint64_t{0};
    mutable bool modified = false;
};

}  // namespace m3d
