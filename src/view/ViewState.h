#pragma once

#include "math/Matrix4.h"
#include "view/ViewType.h"

#include <optional>
#include <vector>

namespace m3d {

class CMesh;

// A rectangle in render-window pixels; right and bottom are exclusive edges.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// One of the four views (0 top left, 1 top right, 2 bottom left, 3 bottom right).
struct View {
    int enabled = 1;  // drawn and clickable only when 1
    ViewType type = ViewType::Top;
    PixelRect rect;  // area in render-window pixels
    Vec3 eye{600, 600, -600};
    Vec3 target{0, 0, 0};
    Vec3 savedPersEye{600, 600, -600};  // the perspective camera kept while the view shows another type
    Vec3 savedPersTarget{0, 0, 0};
};

// A place in render-window pixels, fractions kept.
struct PixelPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// A world-space ray: origin and unit direction.
struct Ray {
    Vec3 origin;
    Vec3 direction;
};

// The four views and the state they share: orthographic scale, split fractions,
// view mode, grid and light. One instance for the whole program.
class ViewState {
public:
    static constexpr int kViewCount = 4;
    static constexpr float kFarPlane = 200000.0f;
    static constexpr int kSplitGap = 1;  // d: half the splitter band
    static constexpr int kGridWidthMin = 1;
    static constexpr int kGridWidthMax = 10000;

    View views[kViewCount];
    float scale = 5.0f;   // world units per pixel in every orthographic view
    float splitX = 0.5f;  // split fractions of the usable render size
    float splitY = 0.5f;
    int fourViewMode = 1;  // 0: only the maximised view is shown
    int maximisedView = 0;
    int activeView = 0;  // view of the last mouse press
    int gridWidth = 10;  // replaced by the settings (default 50)
    int gridXY = 0, gridYZ = 0, gridZX = 1;
    Vec3 lightDirection{-1.0f, -1.0f, 2.0f};

    // Size of the render window in pixels; recomputes the view rectangles and
    // the splitter band.
    void SetRenderSize(int width, int height);
    int RenderWidth() const { return renderWidth; }
    int RenderHeight() const { return renderHeight; }
    // Recomputes the view rectangles from the render size and the split fractions.
    void UpdateViewRects();
    // The band between the views that a split drag grabs.
    const PixelRect& SplitterBand() const { return splitterBand; }

    // The view commands act on: the active view in four-view mode, else the maximised one.
    int CurrentView() const { return fourViewMode ? activeView : maximisedView; }
    // The viewport of view i: its rect in four-view mode, the whole render window in single-view mode.
    PixelRect Viewport(int i) const;
    // The parts of the render window that no enabled view's viewport covers
    // (the split lines and the strip at the right in four-view mode), as
    // rectangles top to bottom, left to right, none overlapping.
    std::vector<PixelRect> GapRects() const;
    // The enabled view whose viewport holds the render-window pixel (x, y); -1
    // over a gap between the views or outside the render window.
    int ViewAt(int x, int y) const;
    // The layout switch of view i's display toolbar: four-view mode becomes
    // single-view mode showing view i alone (the others disabled), and single-view
    // mode goes back to all four views enabled. Either way view i is the
    // maximised view afterwards.
    void ToggleLayout(int i);

    // Stores the type and moves the eye to the type's default place (Pers: the saved pair).
    void SetViewType(int i, ViewType type);
    // Copies a Pers view's eye and target into its saved pair (after the camera moved).
    void SavePersCamera(int i);

    Matrix4 ProjectionMatrix(int i) const;
    Matrix4 ViewMatrix(int i) const;
    // The pick ray under a render-window pixel of view i.
    Ray PixelToRay(int i, int x, int y) const;
    // Where world point p shows in view i, in render-window pixels: the
    // inverse of PixelToRay. nullopt for a point not in front of the
    // perspective eye (less than the near plane's distance ahead of it).
    std::optional<PixelPoint> PixelOf(int i, Vec3 p) const;

    // Centres every view on the axis-aligned box of all vertices of meshes in
    // their current world transform (null meshes are skipped).
    void FitViews(const std::vector<const CMesh*>& meshes);
    // Centres every view on that box as FitViews does and zooms so that the
    // box fills the views with kWholeModelMargin of each viewport's width and
    // height free on every side: the shared scale so that the box fits every
    // shown orthographic view, and each Pers camera, kept in its direction,
    // near enough that the box's bounding sphere fits its field of view (its
    // saved pair follows, as after a zoom). Views without area and a model
    // without vertices (or of no extent) leave the zoom as it was.
    void FitWholeModel(const std::vector<const CMesh*>& meshes);
    // The same framing for the box lo ... hi (lo <= hi on every axis).
    void FitBox(Vec3 lo, Vec3 hi);
    static constexpr float kWholeModelMargin = 0.08f;
    // Light direction := the viewing direction of the current view.
    void LightFromFront();
    // Sets the grid width, clamped to 1 ... 10000.
    void SetGridWidth(int width);

private:
    // Centres every view on centre: orthographic eyes at half the far plane,
    // Pers eyes at their saved offset.
    void CentreViews(Vec3 centre);

    int renderWidth = 0;
    int renderHeight = 0;
    PixelRect splitterBand;
};

// Widens lo ... hi by every vertex of meshes (null ones skipped) in its
// world transform; the number of vertices seen.
int WidenByVertices(const std::vector<const CMesh*>& meshes, Vec3& lo, Vec3& hi);

}  // namespace m3d
