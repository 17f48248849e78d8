#include "editor/history/DocumentEdit.h"

#include "editor/CommandRegistry.h"
#include "editor/EditorSession.h"
#include "editor/history/MotionContentChange.h"

#include <algorithm>

namespace m3d {

DocumentEdit::DocumentEdit(EditorSession& session, std::string label) : session(session), step{std::move(label), {}} {}

DocumentEdit::DocumentEdit(EditorSession& session, EditorCommand command) : DocumentEdit(session, UndoLabelOf(command))
{
}

DocumentEdit::~DocumentEdit() { Commit(); }

void DocumentEdit::WatchTrack(int motion, int part)
{
    const Scene& scene = session.GetScene();
    if (motion < 0 || motion >= scene.MotionCount()) return;
    const std::vector<MotionTrack>& all = scene.Motions()[motion].tracks;
    if (part < 0 || part >= static_cast<int>(all.size())) return;
    const bool known =
        std::any_of(motions.begin(), motions.end(), [&](const auto& m) { return m.motion == motion; }) ||
        std::any_of(tracks.begin(), tracks.end(), [&](const auto& t) { return t.motion == motion && t.part == part; });
    if (!known) tracks.push_back({motion, part, all[part]});
}

void DocumentEdit::WatchMotion(int motion)
{
    const Scene& scene = session.GetScene();
    if (motion < 0 || motion >= scene.MotionCount()) return;
    if (std::any_of(motions.begin(), motions.end(), [&](const auto& m) { return m.motion == motion; })) return;
    const Motion& m = scene.Motions()[motion];
    motions.push_back({motion, m.name, m.length, m.loop, m.tracks});
}

void DocumentEdit::Add(std::unique_ptr<DocumentChange> change)
{
    if (change) step.changes.push_back(std::move(change));
}

void DocumentEdit::FlushPose()
{
    if (auto pose = session.History().TakePoseChange()) step.changes.push_back(std::move(pose));
}

void DocumentEdit::PoseBeforePartSetChange() { FlushPose(); }

void DocumentEdit::PartSetChanged() { session.History().ResyncPose(); }

void DocumentEdit::Commit()
{
    if (committed) return;
    committed = true;
    const Scene& scene = session.GetScene();
    std::vector<MotionContentChange::HeaderEdit> headers;
    std::vector<MotionContentChange::TrackEdits> edits;
    const auto diff = [&](int motion, int part, const MotionTrack& before) {
        const std::vector<MotionTrack>& now = scene.Motions()[motion].tracks;
        if (part >= static_cast<int>(now.size())) return;
        std::vector<MotionContentChange::KeyEdit> keys = DiffKeys(before, now[part]);
        if (!keys.empty()) edits.push_back({motion, part, std::move(keys)});
    };
    for (const WatchedMotion& watched : motions) {
        if (watched.motion >= scene.MotionCount()) continue;
        const Motion& now = scene.Motions()[watched.motion];
        if (now.name != watched.name || now.length != watched.length || now.loop != watched.loop)
            headers.push_back(
                {watched.motion, watched.name, now.name, watched.length, now.length, watched.loop, now.loop});
        for (size_t part = 0; part < watched.tracks.size(); ++part)
            diff(watched.motion, static_cast<int>(part), watched.tracks[part]);
    }
    for (const WatchedTrack& watched : tracks)
        if (watched.motion < scene.MotionCount()) diff(watched.motion, watched.part, watched.keys);
    if (!headers.empty() || !edits.empty())
        step.changes.push_back(std::make_unique<MotionContentChange>(std::move(headers), std::move(edits)));
    // A command that changed nothing leaves the pose edits to the next step.
    if (step.changes.empty()) return;
    FlushPose();
    session.History().Record(std::move(step));
}

}  // namespace m3d
