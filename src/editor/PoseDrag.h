#pragma once

#include "editor/history/PoseChange.h"
#include "view/Gizmo.h"

#include <vector>

namespace m3d {

class EditorSession;

// What a pose drag does to its Part. Pivot moves the point the Part turns
// about, not the Part: nothing changes until Confirm, which moves the pivot
// there as one "ピボットの移動" step.
enum class PoseDragKind { Rotate, Move, Pivot };

// What a pose drag is held to: one axis of its space, or Free, which turns
// about the view's line of sight through the pivot or moves in the plane
// through the pivot facing the view.
enum class DragAxis { Free, X, Y, Z };

// How a pose drag starts: on which Part, from which pixel of which view.
struct PoseDragSetup {
    int part = -1;
    int view = 0;
    int x = 0, y = 0;
    PoseDragKind kind = PoseDragKind::Rotate;
    DragAxis axis = DragAxis::Free;
    AxisSpace space = AxisSpace::Local;
};

// One drag of a Part held to an axis or a plane, by a gizmo handle or by the
// keys. Every step poses the Part afresh from where it stood at the start,
// so a pointer back at its start puts it back exactly: a turn follows the
// angle the pointer sweeps about the pivot on screen (whole turns count), a
// move the point of the axis or plane under the pointer. With the transform
// panel's "左右連動" on, the partners follow as they do in the free drags;
// the children always do. The fields show every step. Must not outlive the
// session.
class PoseDrag {
public:
    // Keeps every Part's pose for Cancel. setup.part must be a Part with a mesh.
    PoseDrag(EditorSession& session, const PoseDragSetup& setup);

    // Poses the Part for the pointer at (x, y) of the drag's view. snap:
    // angles in whole steps of the session's rotation step, distances in
    // whole grid widths (each world coordinate of a free move), counted from
    // the start. Where the pointer's ray runs along the axis or plane, the
    // pose stays as it was.
    void Step(int x, int y, bool snap);
    // Holds the drag to another axis or space from now on; the pose follows
    // at the last pointer.
    void Constrain(DragAxis axis, AxisSpace space);
    // Ends the drag: one undo step ("回転" or "移動") when the pose changed,
    // or the pivot moved (MovePivotCommand) when it was dragged away.
    void Confirm();
    // Ends the drag: every Part's pose goes back bit for bit; no undo step.
    void Cancel();

    const PoseDragSetup& Setup() const { return setup; }
    // The gizmo handle that does what the drag does; None for a free move.
    GizmoHandle Handle() const;
    // Where a Pivot drag has taken the pivot, in the world.
    Vec3 PivotPlace() const { return pivot; }

private:
    void Apply();

    EditorSession& session;
    PoseDragSetup setup;
    Matrix4 startWorld;          // of the dragged Part
    PoseSnapshot startSnapshot;  // for Cancel
    Vec3 pivot;                  // a Pivot drag's pivot, in the world
    int lastX = 0, lastY = 0;
    bool snapped = false;
    float sweep = 0.0f;  // radians swept about the pivot since the start, whole turns included
};

}  // namespace m3d
