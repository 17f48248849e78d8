#include "editor/MouseController.h"

#include "editor/CommandRegistry.h"
#include "editor/EditorSession.h"
#include "scene/PartPlacement.h"
#include "view/ConstrainedPose.h"
#include "view/RotationAngles.h"

#include <algorithm>
#include <cstdlib>

namespace m3d {

namespace {

bool ContainsWithEdges(const PixelRect& r, int x, int y)
{
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

// A turn of pixels / extent of a full turn, in radians.
float TurnAngle(int pixels, int extent)
{
    return static_cast<float>(pixels) * 360.0f / static_cast<float>(std::max(extent, 1)) * kDegreesToRadians;
}

}  // namespace

MouseController::MouseController(EditorSession& session, int frameWidth) : session(session), frameWidth(frameWidth) {}

void MouseController::SetObserver(MouseControllerObserver* newObserver)
{
    observer = newObserver ? newObserver : &silentObserver;
}

bool MouseController::InVerticalBand(int x) const
{
    const PixelRect& band = session.Views().SplitterBand();
    return x >= band.left - 1 && x < band.right + 1;
}

bool MouseController::InHorizontalBand(int y) const
{
    const PixelRect& band = session.Views().SplitterBand();
    return y >= band.top - 1 && y < band.bottom + 1;
}

void MouseController::LookUpActiveView(int x, int y)
{
    ViewState& views = session.Views();
    if (!views.fourViewMode) {
        views.activeView = views.maximisedView;
        return;
    }
    for (int i = 0; i < ViewState::kViewCount; ++i) {
        if (ContainsWithEdges(views.views[i].rect, x, y)) {
            views.activeView = i;
            return;
        }
    }
}

void MouseController::LeftButtonDown(int x, int y, MouseKey keys)
{
    pressX = previousX = x;
    pressY = previousY = y;
    moved = false;
    pickedPart = -1;
    editedPart = -1;
    PosingState& posing = session.Posing();
    if (posing.DraggingByKeys()) {
        posing.ConfirmDrag();
        mode = DragMode::None;
        return;
    }

    ViewState& views = session.Views();
    if (views.fourViewMode) {
        const bool vertical = InVerticalBand(x);
        const bool horizontal = InHorizontalBand(y);
        if (vertical || horizontal) {
            mode = vertical && horizontal ? DragMode::BothSplits
                   : vertical             ? DragMode::VerticalSplit
                                          : DragMode::HorizontalSplit;
            observer->SetDisplayToolbarsVisible(false);
            observer->SetMouseCapture(true);
            return;
        }
    }

    LookUpActiveView(x, y);
    const int active = views.activeView;
    const View& view = views.views[active];
    Scene& scene = session.GetScene();
    if (!HasAny(keys, MouseKey::Alt) && posing.StartHandleDrag(active, x, y, posing.HandleAt(active, x, y))) {
        mode = DragMode::Gizmo;
        observer->SetMouseCapture(true);
        return;
    }
    const std::vector<PartHit> hits = picker.PickAll(scene, views.PixelToRay(active, x, y), view.eye);
    if (HasAny(keys, MouseKey::Alt)) {
        // Only a selection: the next press drags what it selected.
        mode = DragMode::None;
        pickedPart = NextPartUnder(hits, session.CurrentPart());
        if (pickedPart >= 0) session.SelectPart(pickedPart);
        observer->SetMouseCapture(true);
        return;
    }
    pickedPart = PreferredPart(hits, session.CurrentPart());

    const bool perspective = view.type == ViewType::Pers;
    if (pickedPart >= 0 && session.Ik().Enabled()) {
        session.SelectPart(pickedPart);
        session.UpdateTitle();
        mode = session.Ik().StartDrag(active, x, y, pickedPart) ? DragMode::Ik : DragMode::None;
    } else if (pickedPart >= 0) {
        session.SelectPart(pickedPart);
        session.UpdateTitle();
        editedPart = pickedPart;
        mode = perspective ? DragMode::Rotate : DragMode::Move;
    } else if (!perspective && scene.PartAt(session.CurrentPart())) {
        // An orthographic drag moves the selected Part even when the click missed it.
        editedPart = session.CurrentPart();
        mode = DragMode::Move;
    } else {
        mode = DragMode::None;
    }
    if (mode == DragMode::Move) startPosition = scene.WorldMatrixOf(editedPart).Translation();

    observer->SetMouseCapture(true);
    session.ShowCurrentTransform();
}

void MouseController::LeftButtonUp(int x, int y)
{
    switch (mode) {
    case DragMode::BothSplits:
    case DragMode::HorizontalSplit:
    case DragMode::VerticalSplit:
        DragSplit(x, y);
        observer->SetDisplayToolbarsVisible(true);
        break;
    case DragMode::Gizmo:
        if (session.Posing().Dragging() && !session.Posing().DraggingByKeys()) session.Posing().ConfirmDrag();
        break;
    case DragMode::Ik: session.Ik().ConfirmDrag(); break;
    case DragMode::Rotate:
    case DragMode::Move:
        if (moved)
            session.History().PushUndo(UndoLabelOf(mode == DragMode::Rotate ? EditorCommand::SetRelativeRotation
                                                                            : EditorCommand::SetRelativePosition));
        break;
    case DragMode::None: break;
    }
    mode = DragMode::None;
    observer->SetMouseCapture(false);
    observer->FocusMainForm();
}

void MouseController::RightButtonDown(int x, int y)
{
    rightCancelled = session.Posing().DraggingByKeys() || session.Ik().Dragging();
    if (rightCancelled) {
        session.Posing().CancelDrag();
        session.Ik().CancelDrag();
        return;
    }
    previousX = x;
    previousY = y;
    LookUpActiveView(x, y);
    observer->SetMouseCapture(true);
}

void MouseController::RightButtonUp(int, int)
{
    rightCancelled = false;
    observer->SetMouseCapture(false);
    observer->FocusMainForm();
}

void MouseController::MouseMove(int x, int y, MouseKey keys)
{
    if (keys == MouseKey::Left || keys == MouseKey::Right) LookUpActiveView(previousX, previousY);

    if (HasAny(keys, MouseKey::Left)) {
        switch (mode) {
        case DragMode::BothSplits:
        case DragMode::HorizontalSplit:
        case DragMode::VerticalSplit: DragSplit(x, y); break;
        case DragMode::Rotate: RotateStep(x - previousX, y - previousY); break;
        case DragMode::Move: MoveStep(x, y, HasAny(keys, MouseKey::Shift)); break;
        case DragMode::Gizmo:
            if (!session.Posing().DraggingByKeys()) session.Posing().DragTo(x, y, HasAny(keys, MouseKey::Control));
            break;
        case DragMode::Ik: session.Ik().DragTo(x, y); break;
        case DragMode::None: break;
        }
    } else if (HasAny(keys, MouseKey::Right)) {
        if (!rightCancelled && session.Views().views[session.Views().activeView].type == ViewType::Pers)
            Orbit(x - previousX, y - previousY);
    } else if (!HasAny(keys, MouseKey::Middle)) {
        session.Posing().PointerMoved(x, y, HasAny(keys, MouseKey::Control));
    }
    if (!HasAny(keys, MouseKey::Left | MouseKey::Right | MouseKey::Middle) && session.Views().fourViewMode) {
        const bool vertical = InVerticalBand(x);
        const bool horizontal = InHorizontalBand(y);
        cursor = vertical && horizontal ? CursorShape::SizeAll
                 : horizontal           ? CursorShape::SizeNS
                 : vertical             ? CursorShape::SizeWE
                                        : CursorShape::Arrow;
    }
    previousX = x;
    previousY = y;
}

bool MouseController::Wheel(int delta)
{
    IkPosing& ik = session.Ik();
    if (!ik.Dragging() || delta == 0) return false;
    ik.SetChainLength(ik.ChainLength() + (delta > 0 ? 1 : -1));
    return true;
}

void MouseController::DragSplit(int x, int y)
{
    ViewState& views = session.Views();
    const int width = views.RenderWidth();
    const int height = views.RenderHeight();
    if (width <= 0 || height <= 0) return;
    x = std::min(std::max(x, kSplitMargin), width - frameWidth - kSplitMargin);
    y = std::min(std::max(y, kSplitMargin), height - kSplitMargin);
    if (mode == DragMode::BothSplits || mode == DragMode::VerticalSplit)
        views.splitX = static_cast<float>(x) / static_cast<float>(width);
    if (mode == DragMode::BothSplits || mode == DragMode::HorizontalSplit)
        views.splitY = static_cast<float>(y) / static_cast<float>(height);
    views.UpdateViewRects();
    observer->ViewRectsChanged();
    session.Events().Publish(ViewsChanged{});
}

void MouseController::RotateStep(int dx, int dy)
{
    Scene& scene = session.GetScene();
    Part* part = scene.PartAt(editedPart);
    if (!part || !part->mesh || (dx == 0 && dy == 0)) return;
    const ViewState& views = session.Views();
    const View& view = views.views[views.activeView];
    const Matrix4 world = part->mesh->GetMatrix();

    // The drag turns about the vertical and about the level axis across the
    // line of sight to the Part. Straight above or below the eye that line
    // has no level direction, so the view's own line of sight stands in; a
    // camera looking straight down as well leaves nothing to turn about.
    Vec3 sight = world.Translation() - view.eye;
    if (sight.x == 0.0f && sight.z == 0.0f) sight = view.target - view.eye;
    if (sight.x == 0.0f && sight.z == 0.0f) return;
    sight.y = 0.0f;
    sight = Normalize(sight);
    const Vec3 right = Normalize(Cross({0, 1, 0}, sight));
    const Vec3 up = Normalize(Cross(sight, right));

    const PixelRect viewport = views.Viewport(views.activeView);
    const Matrix4 turnAcross = dx != 0 ? AxisRotation(up, TurnAngle(dx, viewport.Width())) : Matrix4::Identity();
    const Matrix4 turnUp = dy != 0 ? AxisRotation(right, TurnAngle(dy, viewport.Height())) : Matrix4::Identity();
    moved = true;

    const Matrix4 before = part->parentIndex < 0 ? world : part->localMatrix * ParentWorldOf(scene, editedPart);
    TurnInPlace(scene, editedPart, before * turnAcross * turnUp);
    LinkPartners(editedPart, true);
    UpdateChildren(scene, editedPart);
    session.ShowCurrentTransform();
}

void MouseController::MoveStep(int x, int y, bool shift)
{
    Scene& scene = session.GetScene();
    const ViewState& views = session.Views();
    const View& view = views.views[views.activeView];
    Part* part = scene.PartAt(editedPart);
    if (view.type == ViewType::Pers || !part || !part->mesh) return;

    // Totals since the press, so returning to the press point restores the start exactly.
    int dx = x - pressX;
    int dy = y - pressY;
    if (shift) {
        if (std::abs(dx) <= std::abs(dy))
            dx = 0;
        else
            dy = 0;
    }
    const OrthoAxes& axes = OrthoAxesOf(view.type);
    const Vec3 offset =
        (axes.screenRight * static_cast<float>(dx) + axes.screenDown * static_cast<float>(dy)) * views.scale;
    const Vec3 position = startPosition + offset;
    part->mesh->SetPosition(position);
    // A step that leaves the Part at its start changes nothing worth an undo step.
    if (dx != 0 || dy != 0) moved = true;

    const Matrix4 parentWorld = ParentWorldOf(scene, editedPart);
    const bool topLevel = part->parentIndex < 0;
    part->localMatrix = LocalFromWorld(part->mesh->GetMatrix(), topLevel ? nullptr : &parentWorld);
    part->localPosition = topLevel ? position : part->localMatrix.Translation();
    LinkPartners(editedPart, false);
    UpdateChildren(scene, editedPart);
    session.ShowCurrentTransform();
}

void MouseController::LinkPartners(int edited, bool rotateStep)
{
    if (session.TransformPanel().linkLR) FollowOnPartners(session.GetScene(), edited, rotateStep);
}

void MouseController::Orbit(int dx, int dy)
{
    ViewState& views = session.Views();
    const int active = views.activeView;
    View& view = views.views[active];
    const PixelRect viewport = views.Viewport(active);
    if (dx != 0) {
        const Vec3 v = TransformNormal(view.eye - view.target, MatrixRotationY(TurnAngle(dx, viewport.Width())));
        view.eye = view.target + v;
    }
    if (dy != 0) {
        const Vec3 v = view.eye - view.target;
        const Vec3 right = Normalize(Cross({0, 1, 0}, Normalize(v * -1.0f)));
        // Exactly over a pole there is no axis to tip about; turning about a
        // zero axis would shrink the distance to the target instead.
        if (right.x != 0.0f || right.y != 0.0f || right.z != 0.0f) {
            view.eye = view.target + TransformNormal(v, AxisRotation(right, TurnAngle(-dy, viewport.Height())));
        }
    }
    views.SavePersCamera(active);
    session.Events().Publish(ViewsChanged{});
}

}  // namespace m3d
