#include "editor/PosingState.h"

#include "editor/EditorSession.h"

namespace m3d {

PosingState::PosingState(EditorSession& owner) : session(owner)
{
    subscription = session.Events().Subscribe([this](const EditorEvent& event) { SessionChanged(event); });
}

void PosingState::SetSpace(AxisSpace newSpace)
{
    if (newSpace == space) return;
    space = newSpace;
    session.Events().Publish(PreferencesChanged{});
}

void PosingState::SetRotateSnapDegrees(int degrees)
{
    rotateSnap = degrees >= 1 && degrees <= 360 ? degrees : kDefaultRotateSnap;
}

void PosingState::SetMoveSnap(float step) { moveSnap = step > 0.0f && step <= kMaxMoveSnap ? step : 0.0f; }

std::optional<GizmoShown> PosingState::Shown() const
{
    const int part = drag ? drag->Setup().part : session.CurrentPart();
    const Part* shown = session.GetScene().PartAt(part);
    if (!shown || !shown->mesh || session.IsPlaying()) return std::nullopt;
    GizmoShown gizmo;
    gizmo.part = part;
    gizmo.space = drag ? drag->Setup().space : space;
    gizmo.highlighted = drag ? drag->Handle() : hovered;
    const bool movingPivot = drag && drag->Setup().kind == PoseDragKind::Pivot;
    gizmo.arrowsOnly = movingPivot || (!drag && pivotKeyHeld);
    if (movingPivot) gizmo.centre = drag->PivotPlace();
    return gizmo;
}

GizmoHandle PosingState::HandleAt(int view, int x, int y) const
{
    const std::optional<GizmoShown> shown = Shown();
    if (!shown || drag || view < 0 || view >= ViewState::kViewCount) return GizmoHandle::None;
    const ViewState& views = session.Views();
    const std::optional<GizmoFrame> frame =
        FrameOfShown(views, view, *shown, session.GetScene().WorldMatrixOf(shown->part));
    return frame ? GizmoHandleAt(views, view, *frame, x, y) : GizmoHandle::None;
}

bool PosingState::PointerMoved(int x, int y, bool snap)
{
    pointerX = x;
    pointerY = y;
    pointerKnown = true;
    if (DraggingByKeys()) {
        DragTo(x, y, snap);
        return false;
    }
    const GizmoHandle under = HandleAt(session.Views().ViewAt(x, y), x, y);
    const bool changed = under != hovered;
    hovered = under;
    return changed;
}

bool PosingState::SetPivotKeyHeld(bool held)
{
    if (held == pivotKeyHeld) return false;
    pivotKeyHeld = held;
    hovered =
        pointerKnown ? HandleAt(session.Views().ViewAt(pointerX, pointerY), pointerX, pointerY) : GizmoHandle::None;
    return !drag;
}

bool PosingState::Start(const PoseDragSetup& setup, bool keys)
{
    const Part* part = session.GetScene().PartAt(setup.part);
    if (drag || !part || !part->mesh || session.IsPlaying()) return false;
    drag.emplace(session, setup);
    byKeys = keys;
    hovered = GizmoHandle::None;
    session.Events().Publish(PoseDragChanged{true});
    return true;
}

bool PosingState::StartHandleDrag(int view, int x, int y, GizmoHandle handle)
{
    if (handle == GizmoHandle::None) return false;
    const int axis = HandleAxis(handle);
    PoseDragSetup setup;
    setup.part = session.CurrentPart();
    setup.view = view;
    setup.x = x;
    setup.y = y;
    setup.kind = IsRing(handle) ? PoseDragKind::Rotate : pivotKeyHeld ? PoseDragKind::Pivot : PoseDragKind::Move;
    setup.axis = static_cast<DragAxis>(axis + 1);
    setup.space = space;
    return Start(setup, false);
}

void PosingState::StartKeyDrag(PoseDragKind kind)
{
    const int view = pointerKnown ? session.Views().ViewAt(pointerX, pointerY) : -1;
    const int part = session.CurrentPart();
    if (view < 0 || !session.GetScene().PartAt(part) ||
        !GizmoFrameOf(session.Views(), view, session.GetScene().WorldMatrixOf(part), space))
        return;
    session.Views().activeView = view;
    Start({part, view, pointerX, pointerY, kind, DragAxis::Free, space}, true);
}

void PosingState::DragTo(int x, int y, bool snap)
{
    if (drag) drag->Step(x, y, snap);
}

void PosingState::ToggleAxis(DragAxis axis)
{
    if (!DraggingByKeys() || axis == DragAxis::Free) return;
    const PoseDragSetup& setup = drag->Setup();
    const AxisSpace other = space == AxisSpace::Local ? AxisSpace::World : AxisSpace::Local;
    if (setup.axis != axis)
        drag->Constrain(axis, space);
    else if (setup.space == space)
        drag->Constrain(axis, other);
    else
        drag->Constrain(DragAxis::Free, space);
}

void PosingState::ConfirmDrag()
{
    if (!drag) return;
    // Ended before the step is recorded: the events it sends find no drag.
    PoseDrag ending = std::move(*drag);
    Ended();
    ending.Confirm();
}

void PosingState::CancelDrag()
{
    if (!drag) return;
    PoseDrag ending = std::move(*drag);
    Ended();
    ending.Cancel();
}

void PosingState::Ended()
{
    drag.reset();
    byKeys = false;
    session.Events().Publish(PoseDragChanged{false});
}

void PosingState::SessionChanged(const EditorEvent& event)
{
    // The handle under the pointer was one of the Part selected before.
    if (std::holds_alternative<SelectionChanged>(event)) hovered = GizmoHandle::None;
    if (!drag) return;
    if (std::holds_alternative<CurrentFrameChanged>(event) || std::holds_alternative<MotionListChanged>(event) ||
        std::holds_alternative<SelectionChanged>(event) || std::holds_alternative<PlayingChanged>(event)) {
        ConfirmDrag();
    } else if (std::holds_alternative<TreeItemInserted>(event) || std::holds_alternative<TreeItemRemoved>(event) ||
               std::holds_alternative<TreeItemMoved>(event)) {
        Ended();
    }
}

}  // namespace m3d
