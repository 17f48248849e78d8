#pragma once

#include "editor/FlagSet.h"
#include "math/Vec3.h"
#include "view/PartPicking.h"

namespace m3d {

class EditorSession;

// Buttons and keys held during a mouse message (any combination).
enum class MouseKey : unsigned {
    None = 0,
    Left = 1,
    Right = 2,
    Shift = 4,
    Control = 8,
    Middle = 16,
    Alt = 32,
};
template <>
struct IsFlagSet<MouseKey> : std::true_type {
};

// What a left-button drag does.
enum class DragMode : int {
    None = 0,
    BothSplits = 1,       // the crossing of the two splits
    HorizontalSplit = 2,  // the split between the upper and the lower views
    VerticalSplit = 3,    // the split between the left and the right views
    Rotate = 4,           // turn the picked Part (perspective view)
    Move = 5,             // move the selected Part (orthographic view)
    Gizmo = 6,            // a handle of the selected Part's gizmo (any view)
    Ik = 7,               // the picked Part's pivot, its chain following (any view, IK on)
};

// The cursor to show over the render window.
enum class CursorShape { Arrow, SizeAll, SizeNS, SizeWE };

// Window-side effects of the mouse handling; every default does nothing.
// Selection, title, pose and view changes go out as the session's events.
class MouseControllerObserver {
public:
    virtual ~MouseControllerObserver() = default;
    // The render window takes or releases the mouse capture.
    virtual void SetMouseCapture(bool /*captured*/) {}
    // The four display toolbars are hidden while a split is dragged and shown
    // again (placed over their views anew) when it is released.
    virtual void SetDisplayToolbarsVisible(bool /*visible*/) {}
    // A split moved: the view rectangles were recomputed.
    virtual void ViewRectsChanged() {}
    // The keyboard focus goes back to the main form.
    virtual void FocusMainForm() {}
};

// The mouse handling of the render window: split drags, picking, rotating a
// Part in the perspective view, moving it in an orthographic view, orbiting
// the perspective camera, and the gizmo's drags and the drags by the keys
// (the session's PosingState). Coordinates are render-window pixels (origin
// at its top-left corner). Works on the session's views, Parts, transform
// panel flags and pose history; one drag that changes the pose records one
// undo step.
// A press on a handle of the selected Part's gizmo drags it; elsewhere a
// press picks the selected Part when it is under the cursor, even behind
// another, else the nearest Part; Alt+click selects the next Part under the
// cursor, farther away, without a drag. Picking sees only the Parts shown,
// and only what lies in front of the camera. A rotate drag on a Part
// straight above or below the perspective eye turns it about the vertical and
// the level axis across the view's own line of sight. While a drag by the
// keys is on, a left press confirms it and a right press cancels it. With
// the IK switch on, a press on a Part (not on a handle) starts an IK drag of
// it in any view (IkPosing); a right press cancels it.
class MouseController {
public:
    // frameWidth is the width of a dialog frame in pixels, kept clear of the
    // render window's right edge by a split drag.
    explicit MouseController(EditorSession& session, int frameWidth = 3);
    MouseController(const MouseController&) = delete;
    MouseController& operator=(const MouseController&) = delete;

    // The observer receives every later notification; nullptr for none. Not owned.
    void SetObserver(MouseControllerObserver* observer);

    // keys: the keys held (Alt picks the next Part under the cursor).
    void LeftButtonDown(int x, int y, MouseKey keys = MouseKey::None);
    void LeftButtonUp(int x, int y);
    void RightButtonDown(int x, int y);
    void RightButtonUp(int x, int y);
    // keys: the buttons and keys held during the move.
    void MouseMove(int x, int y, MouseKey keys);
    // The wheel turned by delta (120 a notch, positive away from the user):
    // during an IK drag each notch makes the chain one Part longer (away) or
    // shorter. Whether the wheel was used so; otherwise it is the views'.
    bool Wheel(int delta);

    DragMode Mode() const { return mode; }
    // The cursor for the last move without a button held.
    CursorShape Cursor() const { return cursor; }
    // The Part hit by the last left press, or -1.
    int PickedPart() const { return pickedPart; }

    // The smallest distance of a split from the render window's edges.
    static constexpr int kSplitMargin = 64;

private:
    bool InVerticalBand(int x) const;
    bool InHorizontalBand(int y) const;
    // Makes the view under (x, y) the active one (edges included; the
    // maximised view in single-view mode); outside every view it stays.
    void LookUpActiveView(int x, int y);
    void DragSplit(int x, int y);
    void RotateStep(int dx, int dy);
    void MoveStep(int x, int y, bool shift);
    void Orbit(int dx, int dy);
    // Carries the edited Part's new pose over to its partners while "左右連動" is on.
    void LinkPartners(int edited, bool rotateStep);

    EditorSession& session;
    MouseControllerObserver silentObserver;
    MouseControllerObserver* observer = &silentObserver;
    PartPicker picker;
    int frameWidth;

    DragMode mode = DragMode::None;
    CursorShape cursor = CursorShape::Arrow;
    int pressX = 0, pressY = 0;
    int previousX = 0, previousY = 0;
    Vec3 startPosition;  // world position of the moved Part at the press
    bool moved = false;  // the drag changed the pose
    int pickedPart = -1;
    int editedPart = -1;          // the Part the drag rotates or moves
    bool rightCancelled = false;  // the right press cancelled a drag by the keys: no orbit until released
};

}  // namespace m3d
