#include "editor/history/DocumentHistory.h"

#include "editor/EditorSession.h"
#include "scene/DocumentFingerprint.h"

#include <algorithm>

namespace m3d {

DocumentHistory::DocumentHistory(EditorSession& session) : session(session) {}

void DocumentHistory::Record(DocumentStep step)
{
    if (step.changes.empty()) return;
    const bool savedDataChanged = step.Effect().touched != SavedData::None;
    const int64_t here = firstSerial + position;
    if (position < StepCount()) {
        steps.erase(steps.begin() + position, steps.end());
        if (savedPoint > here) savedPoint = -1;
    }
    for (const auto& change : step.changes) change->ForgetDigests(digests);
    steps.push_back(std::move(step));
    ++position;
    ++edits;
    DropOldest();
    UpdateUndoButtons();
    if (savedDataChanged) session.UpdateTitle();
}

void DocumentHistory::DropOldest()
{
    size_t bytes = Bytes();
    while (steps.size() > 1 && (StepCount() > kMaxSteps || bytes > kMemoryBound)) {
        bytes -= steps.front().Bytes();
        steps.pop_front();
        ++firstSerial;
        --position;
    }
}

size_t DocumentHistory::Bytes() const
{
    size_t bytes = 0;
    for (const DocumentStep& step : steps) bytes += step.Bytes();
    return bytes;
}

std::unique_ptr<PoseChange> DocumentHistory::TakePoseChange()
{
    const Scene& scene = session.GetScene();
    std::vector<PoseChange::Entry> entries = PoseDifferences(recordedPose, scene);
    recordedPose = PoseOf(scene);
    if (entries.empty()) return nullptr;
    return std::make_unique<PoseChange>(std::move(entries));
}

void DocumentHistory::ResyncPose() { recordedPose = PoseOf(session.GetScene()); }

void DocumentHistory::PushUndo(const std::string& label)
{
    DocumentStep step{label, {}};
    if (auto change = TakePoseChange()) step.changes.push_back(std::move(change));
    Record(std::move(step));
}

void DocumentHistory::PushUndoJoining(const std::string& label)
{
    if (position == 0 || position != StepCount() || steps.back().label != label || steps.back().changes.size() != 1) {
        PushUndo(label);
        return;
    }
    auto* last = dynamic_cast<PoseChange*>(steps.back().changes.front().get());
    if (last == nullptr) {
        PushUndo(label);
        return;
    }
    if (auto change = TakePoseChange()) {
        last->Join(*change);
        ++edits;
        UpdateUndoButtons();
    }
}

void DocumentHistory::ApplyStep(DocumentStep& step, bool undo)
{
    Scene& scene = session.GetScene();
    ++edits;
    // Pose edits since the last point are dropped, so the step finds the model as it left it.
    if (recordedPose.matrices.size() == scene.Parts().size()) RestorePose(scene, recordedPose);
    if (undo) {
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) {
            (*change)->Undo(session);
            (*change)->ForgetDigests(digests);
        }
    } else {
        for (auto& change : step.changes) {
            change->Redo(session);
            change->ForgetDigests(digests);
        }
    }
    scene.UpdateHierarchy(0);
    ResyncPose();

    // Show the result: the selection the model moved, the current Motion and
    // frame within range, the keys, the fields, the title and the buttons.
    session.SelectionMayHaveChanged();
    session.SelectMotion(session.CurrentMotion());
    if (const int motion = session.CurrentMotion();
        motion >= 0 && session.CurrentFrame() > scene.Motions()[motion].length)
        session.SetCurrentFrame(scene.Motions()[motion].length);
    session.Events().Publish(MotionKeysChanged{session.CurrentMotion()});
    session.ShowCurrentTransform();
    session.UpdateTitle();
    UpdateUndoButtons();
}

void DocumentHistory::Undo()
{
    if (position <= 0) return;
    --position;
    ApplyStep(steps[position], true);
}

void DocumentHistory::Redo()
{
    if (position >= StepCount()) return;
    ++position;
    ApplyStep(steps[position - 1], false);
}

bool DocumentHistory::UndoEnabled() const { return !session.IsPlaying() && position > 0; }

bool DocumentHistory::RedoEnabled() const { return !session.IsPlaying() && position < StepCount(); }

void DocumentHistory::UpdateUndoButtons()
{
    session.Events().Publish(HistoryButtonsChanged{UndoEnabled(), RedoEnabled()});
}

std::string DocumentHistory::UndoLabel() const { return position > 0 ? steps[position - 1].label : std::string(); }

std::string DocumentHistory::RedoLabel() const
{
    return position < StepCount() ? steps[position].label : std::string();
}

void DocumentHistory::Clear()
{
    steps.clear();
    position = 0;
    firstSerial = 0;
    savedPoint = -1;
    digests.ForgetAll();
    ++edits;
    ResyncPose();
    UpdateUndoButtons();
}

void DocumentHistory::MarkSaved()
{
    savedPoint = firstSerial + position;
    savedFingerprint = digests.Document(session.GetScene());
    ++edits;
}

void DocumentHistory::MarkUnsaved()
{
    savedPoint = -1;
    savedFingerprint = ~digests.Document(session.GetScene());
    ++edits;
}

bool DocumentHistory::IsModified() const
{
    if (answeredEdits != edits) {
        modified = Differs();
        answeredEdits = edits;
    }
    return modified;
}

bool DocumentHistory::Differs() const
{
    const int64_t here = firstSerial + position;
    if (savedPoint == here) return false;
    // Between two kept points the steps may tell: none touches the saved
    // data, or one alone touches a part of it and surely changed that.
    if (savedPoint >= firstSerial) {
        const int64_t saved = savedPoint - firstSerial;
        const int64_t from = std::min(saved, int64_t{position}), to = std::max(saved, int64_t{position});
        SavedData touchedOnce = SavedData::None, touchedAgain = SavedData::None, changedByTheOne = SavedData::None;
        for (int64_t k = from; k < to; ++k) {
            const SavedDataEffect effect = steps[static_cast<size_t>(k)].Effect();
            changedByTheOne |= effect.changed & ~touchedOnce;
            touchedAgain |= effect.touched & touchedOnce;
            touchedOnce |= effect.touched;
        }
        if (touchedOnce == SavedData::None) return false;
        if ((changedByTheOne & ~touchedAgain) != SavedData::None) return true;
    }
    // Another way back to the same content (a Motion mirrored twice) counts as unchanged too.
    return digests.Document(session.GetScene()) != savedFingerprint;
}

}  // namespace m3d
