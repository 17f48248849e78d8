#pragma once

#include "render/RenderDevice.h"
#include "view/ViewState.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace m3d {

// The handles of the posing gizmo: a ring about each axis, an outer ring about
// the view's line of sight, and an arrow along each axis.
enum class GizmoHandle { None, RotateX, RotateY, RotateZ, RotateView, MoveX, MoveY, MoveZ };

// Whose axes the gizmo's rings and arrows follow: the Part's own (its world
// matrix's rows) or the world's.
enum class AxisSpace { Local, World };

// The gizmo's sizes on screen, in pixels, the same at any zoom.
inline constexpr float kGizmoRingRadius = 60.0f;
inline constexpr float kGizmoViewRingRadius = 74.0f;
inline constexpr float kGizmoArrowStart = 16.0f;
inline constexpr float kGizmoArrowTip = 100.0f;
inline constexpr float kGizmoTipSize = 9.0f;
// How near a press must come to a handle to grab it.
inline constexpr float kGizmoReach = 5.0f;

// ARGB: X, Y and Z red, green and blue; the view ring grey; the handle under
// the pointer or being dragged yellow.
inline constexpr uint32_t kGizmoAxisColours[3] = {0xFFFF4040u, 0xFF40E040u, 0xFF4A8CFFu};
inline constexpr uint32_t kGizmoViewRingColour = 0xFFC8C8C8u;
inline constexpr uint32_t kGizmoHighlightColour = 0xFFFFFF40u;

// Where a Part's gizmo stands in one view.
struct GizmoFrame {
    Vec3 centre;              // the Part's pivot, in the world
    Vec3 axes[3];             // unit X, Y and Z of the chosen space
    Vec3 towardViewer;        // unit, from the centre towards the eye (the view's line of sight reversed)
    float worldPerPixel;      // world length of one pixel at the centre
    bool arrowsOnly = false;  // the rings are left out (the arrows move the pivot)
};

// The gizmo of a Part whose world matrix is partWorld in view i; nullopt when
// its pivot is not in front of the perspective eye. A local axis of zero
// length falls back to the world's.
std::optional<GizmoFrame> GizmoFrameOf(const ViewState& views, int view, const Matrix4& partWorld, AxisSpace space);

// The axis a handle turns about or moves along: 0, 1, 2 for X, Y, Z; -1 for
// the view ring and None.
int HandleAxis(GizmoHandle handle);
bool IsRing(GizmoHandle handle);
// The ring about or the arrow along axis (0 ... 2).
GizmoHandle RingOf(int axis);
GizmoHandle ArrowOf(int axis);

// Whether a handle is drawn and can be grabbed: a ring seen almost edge-on
// and an arrow pointing almost straight at the eye cannot be dragged
// meaningfully, so they are left out, and so are the rings of a frame that
// shows only arrows.
bool HandleShown(const GizmoFrame& frame, GizmoHandle handle);

// The shown handle under pixel (x, y) of view i: the nearest one within
// kGizmoReach pixels, an arrow before a ring at equal distance; None when
// none is that near.
GizmoHandle GizmoHandleAt(const ViewState& views, int view, const GizmoFrame& frame, int x, int y);

// The gizmo as the views draw it, in world coordinates: the rings and
// shafts as a line list, a dot at each arrow's tip.
struct GizmoDrawing {
    std::vector<LineVertex> lines;
    std::vector<LineVertex> tips;
};
// The shown handles, highlighted in kGizmoHighlightColour.
GizmoDrawing DrawingOfGizmo(const GizmoFrame& frame, GizmoHandle highlighted);

// What the views show of the gizmo: on which Part, in which axes, and which
// handle stands out; while the pivot is being moved, only the arrows, at the
// pivot's new place.
struct GizmoShown {
    int part = -1;
    AxisSpace space = AxisSpace::Local;
    GizmoHandle highlighted = GizmoHandle::None;
    bool arrowsOnly = false;
    std::optional<Vec3> centre;  // the world place of the gizmo when not the Part's pivot
};

// The frame of shown in view i, the Part's world matrix being partWorld.
std::optional<GizmoFrame> FrameOfShown(const ViewState& views, int view, const GizmoShown& shown,
                                       const Matrix4& partWorld);

}  // namespace m3d
