#include "editor/PartShapeCommands.h"

#include "anim/PartPivot.h"
#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/PartGeometryChange.h"

namespace m3d {

namespace {

std::vector<Vec3> VertexPositions(const Scene& scene, int part)
{
    const Part* p = scene.PartAt(part);
    return p && p->mesh ? p->mesh->GetVertexPositions() : std::vector<Vec3>{};
}

// Ends a command that changed part's geometry: the change, the pose and the
// views that show it.
void ReportGeometry(EditorSession& session, DocumentEdit& edit, int part, std::vector<Vec3> before)
{
    std::vector<Vec3> after = VertexPositions(session.GetScene(), part);
    if (after != before) edit.Add(std::make_unique<PartGeometryChange>(part, std::move(before), std::move(after)));
    session.ShowCurrentTransform();
    session.Events().Publish(MotionKeysChanged{session.CurrentMotion()});
    session.Events().Publish(ViewsChanged{});
}

}  // namespace

bool MovePivotCommand(EditorSession& session, Vec3 point)
{
    Scene& scene = session.GetScene();
    const int part = session.CurrentPart();
    if (part < 0 || (point.x == 0.0f && point.y == 0.0f && point.z == 0.0f)) return false;
    DocumentEdit edit(session, EditorCommand::MovePivot);
    for (int motion = 0; motion < scene.MotionCount(); ++motion) {
        edit.WatchTrack(motion, part);
        for (int child = part + 1; child < scene.PartCount(); ++child)
            if (scene.Parts()[child]->parentIndex == part) edit.WatchTrack(motion, child);
    }
    std::vector<Vec3> before = VertexPositions(scene, part);
    if (!MovePartPivot(scene, part, point)) return false;
    ReportGeometry(session, edit, part, std::move(before));
    return true;
}

bool ResizePartCommand(EditorSession& session, float factor)
{
    Scene& scene = session.GetScene();
    const int part = session.CurrentPart();
    if (part < 0 || factor == 1.0f) return false;
    DocumentEdit edit(session, EditorCommand::ResizePart);
    std::vector<Vec3> before = VertexPositions(scene, part);
    if (!ResizePart(scene, part, factor)) return false;
    ReportGeometry(session, edit, part, std::move(before));
    return true;
}

}  // namespace m3d
