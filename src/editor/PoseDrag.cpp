#include "editor/PoseDrag.h"

#include "editor/CommandRegistry.h"
#include "editor/EditorSession.h"
#include "editor/PartShapeCommands.h"
#include "scene/PartPlacement.h"
#include "view/ConstrainedPose.h"
#include "view/RotationAngles.h"
#include "view/TransformOperations.h"

#include <algorithm>

namespace m3d {

PoseDrag::PoseDrag(EditorSession& owner, const PoseDragSetup& start)
    : session(owner), setup(start), lastX(start.x), lastY(start.y)
{
    const Scene& scene = session.GetScene();
    startWorld = scene.WorldMatrixOf(setup.part);
    pivot = startWorld.Translation();
    startSnapshot = SnapshotOf(scene);
}

GizmoHandle PoseDrag::Handle() const
{
    const int axis = static_cast<int>(setup.axis) - 1;
    if (setup.kind == PoseDragKind::Rotate) return axis < 0 ? GizmoHandle::RotateView : RingOf(axis);
    return axis < 0 ? GizmoHandle::None : ArrowOf(axis);
}

void PoseDrag::Step(int x, int y, bool snap)
{
    const ViewState& views = session.Views();
    if (setup.kind == PoseDragKind::Rotate) {
        if (const std::optional<PixelPoint> centre = views.PixelOf(setup.view, startWorld.Translation()))
            sweep += SweptAngle(*centre, {float(lastX), float(lastY)}, {float(x), float(y)});
    }
    lastX = x;
    lastY = y;
    snapped = snap;
    Apply();
}

void PoseDrag::Constrain(DragAxis axis, AxisSpace space)
{
    setup.axis = axis;
    setup.space = space;
    Apply();
}

void PoseDrag::Apply()
{
    Scene& scene = session.GetScene();
    const Part* part = scene.PartAt(setup.part);
    if (!part || !part->mesh) return;
    const ViewState& views = session.Views();
    const std::optional<GizmoFrame> frame = GizmoFrameOf(views, setup.view, startWorld, setup.space);
    if (!frame) return;
    const int axis = static_cast<int>(setup.axis) - 1;
    const bool turn = setup.kind == PoseDragKind::Rotate;
    if (turn) {
        const float step = static_cast<float>(session.Posing().RotateSnapDegrees()) * kDegreesToRadians;
        const float angle = snapped ? SnapToStep(sweep, step) : sweep;
        const Vec3 about = axis >= 0 ? frame->axes[axis] : frame->towardViewer;
        TurnInPlace(scene, setup.part, TurnedAbout(startWorld, TurnFollowingSweep(about, frame->towardViewer, angle)));
        UpdateChildren(scene, setup.part);
    } else {
        const float grid = session.Posing().MoveSnapStep(views.gridWidth);
        const Ray from = views.PixelToRay(setup.view, setup.x, setup.y);
        const Ray to = views.PixelToRay(setup.view, lastX, lastY);
        Vec3 offset;
        if (axis >= 0) {
            const std::optional<float> start = NearestAlongLine(from, frame->centre, frame->axes[axis]);
            const std::optional<float> now = NearestAlongLine(to, frame->centre, frame->axes[axis]);
            if (!start || !now) return;
            offset = frame->axes[axis] * (snapped ? SnapToStep(*now - *start, grid) : *now - *start);
        } else {
            const std::optional<Vec3> start = MeetPlane(from, frame->centre, frame->towardViewer);
            const std::optional<Vec3> now = MeetPlane(to, frame->centre, frame->towardViewer);
            if (!start || !now) return;
            offset = *now - *start;
            if (snapped) offset = {SnapToStep(offset.x, grid), SnapToStep(offset.y, grid), SnapToStep(offset.z, grid)};
        }
        if (setup.kind == PoseDragKind::Pivot) {
            pivot = frame->centre + offset;
            return;
        }
        SetAbsolutePosition(scene, setup.part, frame->centre + offset);
    }
    if (session.TransformPanel().linkLR) FollowOnPartners(scene, setup.part, turn);
    session.ShowCurrentTransform();
}

void PoseDrag::Confirm()
{
    if (setup.kind == PoseDragKind::Pivot) {
        if (!(pivot == startWorld.Translation()))
            MovePivotCommand(session, TransformPoint(pivot, InverseOrIdentity(startWorld)));
        return;
    }
    session.History().PushUndo(UndoLabelOf(setup.kind == PoseDragKind::Rotate ? EditorCommand::SetRelativeRotation
                                                                              : EditorCommand::SetRelativePosition));
}

void PoseDrag::Cancel()
{
    RestoreSnapshot(session.GetScene(), startSnapshot);
    session.ShowCurrentTransform();
}

}  // namespace m3d
