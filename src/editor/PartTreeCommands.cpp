#include "editor/PartTreeCommands.h"

#include "anim/PartReparenting.h"
#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/PartMoveChange.h"
#include "editor/history/PartNameChange.h"
#include "scene/PoseComposition.h"

#include <memory>
#include <optional>

namespace m3d {

PartNameProblem RenameCurrentPart(EditorSession& session, const std::string& name)
{
    Scene& scene = session.GetScene();
    const int current = session.CurrentPart();
    Part* part = scene.PartAt(current);
    if (!part) return PartNameProblem::None;
    const PartNameProblem problem = CheckPartName(scene, name, current);
    const std::string base = PartBaseNameOf(name);
    if (problem != PartNameProblem::None || base == part->baseName) return problem;
    DocumentEdit edit(session, EditorCommand::RenamePart);
    edit.Add(std::make_unique<PartNameChange>(current, part->baseName, part->displayName));
    part->baseName = base;
    part->displayName = scene.MakeDisplayName(base, current);
    scene.SetTreeItemText(part->treeItem, part->displayName);
    edit.Commit();
    session.UpdateTitle();
    return PartNameProblem::None;
}

bool ReparentCurrentPart(EditorSession& session, int newParent)
{
    Scene& scene = session.GetScene();
    const int part = session.CurrentPart();
    const std::optional<PartMove> move = PlanPartMove(scene, part, newParent);
    if (!move) return false;
    std::vector<MotionTrack> tracks = TracksUnderNewParent(scene, part, newParent);
    const Matrix4 parentWorld = scene.WorldMatrixOf(newParent);
    Matrix4 local = LocalFromWorld(scene.WorldMatrixOf(part), newParent >= 0 ? &parentWorld : nullptr);

    DocumentEdit edit(session, EditorCommand::ReparentPart);
    edit.PoseBeforePartSetChange();
    PartMove back = scene.MovePart(*move);
    const int moved = back.part;
    if (moved < 0) return false;
    edit.Add(std::make_unique<PartMoveChange>(std::move(back)));
    edit.PartSetChanged();
    for (size_t m = 0; m < tracks.size(); ++m) {
        edit.WatchTrack(static_cast<int>(m), moved);
        scene.MutableMotions()[m].tracks[size_t(moved)] = std::move(tracks[m]);
    }
    Part& placed = *scene.Parts()[size_t(moved)];
    placed.localPosition = local.Translation();
    local.SetTranslation({0, 0, 0});
    placed.localMatrix = local;
    scene.UpdateHierarchy(0);
    edit.Commit();

    session.Events().Publish(MotionKeysChanged{session.CurrentMotion()});
    session.ShowCurrentTransform();
    session.UpdateTitle();
    return true;
}

}  // namespace m3d
