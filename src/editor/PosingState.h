#pragma once

#include "editor/EditorEvents.h"
#include "editor/PoseDrag.h"
#include "view/Gizmo.h"

#include <optional>

namespace m3d {

class EditorSession;

// The posing tools of the session: the gizmo on the selected Part (its axis
// space and rotation step, remembered in the settings), the pointer over the
// views and the handle under it, and the pose drag under way, started by a
// press on a handle or by the keys R and G.
//
// A drag by the keys follows the pointer without a button held until a
// click or Enter confirms it (one undo step) or Escape or a right click
// cancels it (the pose goes back, no undo step). X, Y and Z hold it to that
// axis of the switch's space; the same key again to that axis of the other
// space; a third time frees it again.
//
// While the pivot key (P) is held the gizmo shows only its arrows, and an
// arrow's drag moves the Part's pivot instead of the Part.
//
// Whatever else changes the frame, the Motion, the selection or playback
// while a drag is on ends it as confirmed first; a change of the Parts' set
// or tree ends it where it stands. Must not outlive the session.
class PosingState {
public:
    static constexpr int kDefaultRotateSnap = 15;

    explicit PosingState(EditorSession& session);
    PosingState(const PosingState&) = delete;
    PosingState& operator=(const PosingState&) = delete;

    // Whose axes the gizmo and the keys' X, Y, Z follow ("ローカル軸"); a
    // change is reported with PreferencesChanged.
    AxisSpace Space() const { return space; }
    void SetSpace(AxisSpace newSpace);
    // The step of a snapped turn in degrees, 1 ... 360; anything else
    // becomes kDefaultRotateSnap.
    int RotateSnapDegrees() const { return rotateSnap; }
    void SetRotateSnapDegrees(int degrees);
    // The step of a snapped move in units, 0 ... kMaxMoveSnap, fractions
    // allowed; 0 (and anything outside that range) snaps to the grid's width.
    static constexpr float kMaxMoveSnap = 10000.0f;
    float MoveSnap() const { return moveSnap; }
    void SetMoveSnap(float step);
    // The step a snapped move takes with the grid gridWidth wide.
    float MoveSnapStep(int gridWidth) const { return moveSnap > 0.0f ? moveSnap : static_cast<float>(gridWidth); }

    // The gizmo the views draw: on the selected Part (or the dragged one),
    // in the drag's space while one is on, the dragged or hovered handle
    // highlighted; nullopt without a Part with a mesh and while playing.
    std::optional<GizmoShown> Shown() const;
    // The handle of the selected Part's gizmo under pixel (x, y) of view; None.
    GizmoHandle HandleAt(int view, int x, int y) const;

    // The pointer moved to render-window pixel (x, y) with no button held:
    // the handle under it is looked up, and a drag by the keys follows it.
    // snap: Ctrl is held. Whether the highlighted handle changed.
    bool PointerMoved(int x, int y, bool snap);
    GizmoHandle Hovered() const { return hovered; }
    // The pivot key went down or up; whether the gizmo's look changed.
    bool SetPivotKeyHeld(bool held);

    bool Dragging() const { return drag.has_value(); }
    bool DraggingByKeys() const { return drag.has_value() && byKeys; }
    const PoseDrag* Drag() const { return drag ? &*drag : nullptr; }

    // A press on handle of the selected Part's gizmo at pixel (x, y) of view
    // starts a drag of it by the mouse; false (nothing started) for None.
    bool StartHandleDrag(int view, int x, int y, GizmoHandle handle);
    // R and G: a free drag by the keys of the selected Part from the pointer;
    // nothing while the pointer was last over no view or its gizmo cannot be shown.
    void StartKeyDrag(PoseDragKind kind);
    // The next step of the drag under way (by the mouse or the keys).
    void DragTo(int x, int y, bool snap);
    // X, Y or Z during a drag by the keys (see above).
    void ToggleAxis(DragAxis axis);
    // Ends the drag under way, if any.
    void ConfirmDrag();
    void CancelDrag();

private:
    bool Start(const PoseDragSetup& setup, bool keys);
    void Ended();
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    AxisSpace space = AxisSpace::Local;
    int rotateSnap = kDefaultRotateSnap;
    float moveSnap = 0.0f;
    GizmoHandle hovered = GizmoHandle::None;
    int pointerX = 0, pointerY = 0;
    bool pointerKnown = false;
    bool pivotKeyHeld = false;
    std::optional<PoseDrag> drag;
    bool byKeys = false;
    EditorSubscription subscription;
};

}  // namespace m3d
