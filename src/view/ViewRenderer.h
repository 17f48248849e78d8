#pragma once

#include "render/RenderDevice.h"
#include "view/Gizmo.h"
#include "view/GridGeometry.h"
#include "view/ViewDisplay.h"
#include "view/ViewState.h"

#include <vector>

namespace m3d {

class Scene;

// A pose drawn as a translucent ghost behind everything else: every Part's
// world matrix, in Part order, and the flat ARGB colour (its alpha how
// opaque) the Parts are drawn in.
struct PoseGhost {
    std::vector<Matrix4> worlds;
    uint32_t tint = 0;
};

// Dots of one size in pixels, each at a world position in its own colour.
struct PathDots {
    float size = 1.0f;
    std::vector<LineVertex> points;
};

// A path drawn over everything else: a line through line's points, then
// each group of dots in order (a later group covers an earlier one).
struct PathDrawing {
    std::vector<LineVertex> line;
    std::vector<PathDots> dots;
};

// Everything one frame of the views reads. Nothing here is owned.
struct ViewFrameInputs {
    const ViewState& views;
    const ViewDisplays& displays;
    const ColourTable& colours;
    const GridGeometry& grid;
    Scene& scene;           // meshes draw themselves, which needs them mutable
    int selectedPart = -1;  // the Part whose bounding box "選択の表示" draws; -1 for none
    // Drawn in the views whose onion skin is on; null or empty for none.
    const std::vector<PoseGhost>* ghosts = nullptr;
    // Drawn in the views whose motion path is on; null for none.
    const PathDrawing* path = nullptr;
    // Marks drawn in every view over everything but the gizmo (the pinned
    // Parts' pivots); null for none.
    const PathDrawing* marks = nullptr;
    // Drawn in every view; null for none.
    const GizmoShown* gizmo = nullptr;
    // False leaves the grid and the axes out whatever the tree says (a picture of the model alone).
    bool showGrid = true;
};

// Draws the grid planes a view shows and the axes, unlit and untextured, in
// world coordinates: ZX for the top and bottom types, XY for Front and Back,
// YZ for Left and Right, and for Pers each plane whose flag is set. Lighting is
// switched back on afterwards.
void DrawGrid(RenderDevice& device, const ViewState& views, int view, const GridGeometry& grid);

// Draws one frame of every enabled view: the whole render window is first
// cleared in the BACK colour and the gaps between the views (GapRects) in the
// LINE colour; each view gets its viewport, its projection and camera, the grid when the
// tree's root item is checked and the inputs allow it, and every Part in scene
// order in the view's draw mode. Checked Parts draw their mesh and the overlays the view switches on
// (normals and pivots 0.2 grid widths long); the selected Part's bounding box is
// drawn when the view shows the selection, even when the Part is hidden. The
// device's viewport is the whole window at the end. A failing BeginScene draws nothing
// more. When the view's onion skin is on, the ghosts come last: each checked
// Part at the ghost's world matrix in its tint, translucent, in the view's
// draw mode, at depth 1 (the far end of the depth range) and leaving no
// depth, so they show only where nothing else is drawn. When the view's
// motion path is on, the path comes after everything, unlit at depth 0 (the
// near end of the depth range), so nothing covers it; the marks the same way. The gizmo comes last of
// all in every view, the same way, where its Part's pivot is in front of the eye.
void RenderViews(RenderDevice& device, const ViewFrameInputs& in);

}  // namespace m3d
