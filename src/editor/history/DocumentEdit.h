#pragma once

#include "editor/EditorCommand.h"
#include "editor/history/DocumentStep.h"
#include "scene/Motion.h"

#include <memory>
#include <string>
#include <vector>

namespace m3d {

class EditorSession;

// Records what one command changes as one step of the session's history. The
// command tells it beforehand which Motions or tracks it may rewrite (their
// keys are compared when the edit ends) and hands over the changes it makes
// to the set of Parts; the pose is compared with the last recorded point.
// The step is recorded when the edit is committed or destroyed; a command
// that changed nothing records nothing (pose edits not recorded yet then wait
// for the next step).
class DocumentEdit {
public:
    // label: the step's name; for a command, its registry entry's undo label.
    DocumentEdit(EditorSession& session, std::string label);
    DocumentEdit(EditorSession& session, EditorCommand command);
    ~DocumentEdit();
    DocumentEdit(const DocumentEdit&) = delete;
    DocumentEdit& operator=(const DocumentEdit&) = delete;

    // The keys of Part part in Motion motion may change (indices must stay
    // valid until the edit ends; one outside its array is ignored).
    void WatchTrack(int motion, int part);
    // The name, length, loop switch and every key of Motion motion may change.
    void WatchMotion(int motion);
    // A change already made; after a change of the Part set (PartSetChange)
    // call PoseBeforePartSetChange first.
    void Add(std::unique_ptr<DocumentChange> change);
    // The pose edits so far go into the step, before the set of Parts changes.
    void PoseBeforePartSetChange();
    // The Part set changed (its change was added): the recorded pose follows.
    void PartSetChanged();
    // Records the step (once).
    void Commit();

private:
    struct WatchedTrack {
        int motion;
        int part;
        MotionTrack keys;
    };
    struct WatchedMotion {
        int motion;
        std::string name;
        int32_t length;
        bool loop;
        std::vector<MotionTrack> tracks;
    };
    void FlushPose();

    EditorSession& session;
    DocumentStep step;
    std::vector<WatchedTrack> tracks;
    std::vector<WatchedMotion> motions;
    bool committed = false;
};

}  // namespace m3d
