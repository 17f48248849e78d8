#include "view/ViewRenderer.h"

#include "scene/Scene.h"

#include <algorithm>

namespace m3d {

namespace {

// Overlays are sized in grid widths so they stay readable at any model size.
constexpr float kOverlaySizeInGridWidths = 0.2f;

template <size_t N>
void DrawLines(RenderDevice& device, const std::array<LineVertex, N>& lines)
{
    device.DrawLineList(lines.data(), static_cast<uint32_t>(N));
}

Viewport ViewportOf(const PixelRect& r)
{
    Viewport v;
    v.x = r.left;
    v.y = r.top;
    v.width = r.Width();
    v.height = r.Height();
    v.minDepth = 0.0f;
    v.maxDepth = 1.0f;
    return v;
}

MeshPrimitive PrimitiveOf(const ViewDisplay& display)
{
    return display.drawMode == 1 ? MeshPrimitive::Faces : MeshPrimitive::Edges;
}

// After everything else of the view: at the far end of the depth range, so
// that they pass the depth test only where nothing else was drawn and the
// Parts and the grid cover them (which also spares the covered pixels).
void DrawGhosts(RenderDevice& device, const ViewFrameInputs& in, int view)
{
    Scene& scene = in.scene;
    const Viewport viewport = device.GetViewport();
    Viewport farthest = viewport;
    farthest.minDepth = farthest.maxDepth = 1.0f;
    device.SetViewport(farthest);
    device.SetTranslucent(true);
    for (const PoseGhost& ghost : *in.ghosts) {
        const int count = std::min(scene.PartCount(), static_cast<int>(ghost.worlds.size()));
        for (int i = 0; i < count; ++i) {
            Part& part = *scene.Parts()[i];
            if (!part.mesh || !scene.Tree().IsChecked(part.treeItem)) continue;
            part.mesh->SetPrimitiveType(PrimitiveOf(in.displays[view]));
            part.mesh->DrawGhost(ghost.worlds[i], ghost.tint);
        }
    }
    device.SetTranslucent(false);
    device.SetViewport(viewport);
}

// Over everything: at the near end of the depth range every pixel passes.
// Lines and dots are unlit whatever the lighting.
void DrawPath(RenderDevice& device, const PathDrawing& path)
{
    const Viewport viewport = device.GetViewport();
    Viewport nearest = viewport;
    nearest.minDepth = nearest.maxDepth = 0.0f;
    device.SetViewport(nearest);
    device.SetTransform(TransformKind::World, Matrix4::Identity());
    if (path.line.size() >= 2) device.DrawLineStrip(path.line.data(), uint32_t(path.line.size()));
    for (const PathDots& dots : path.dots)
        if (!dots.points.empty()) device.DrawPoints(dots.points.data(), uint32_t(dots.points.size()), dots.size);
    device.SetViewport(viewport);
}

void DrawGizmo(RenderDevice& device, const ViewFrameInputs& in, int view)
{
    const GizmoShown& shown = *in.gizmo;
    if (!in.scene.PartAt(shown.part)) return;
    const std::optional<GizmoFrame> frame = FrameOfShown(in.views, view, shown, in.scene.WorldMatrixOf(shown.part));
    if (!frame) return;
    const GizmoDrawing drawing = DrawingOfGizmo(*frame, shown.highlighted);
    const Viewport viewport = device.GetViewport();
    Viewport nearest = viewport;
    nearest.minDepth = nearest.maxDepth = 0.0f;
    device.SetViewport(nearest);
    device.SetTransform(TransformKind::World, Matrix4::Identity());
    if (!drawing.lines.empty()) device.DrawLineList(drawing.lines.data(), uint32_t(drawing.lines.size()));
    if (!drawing.tips.empty()) device.DrawPoints(drawing.tips.data(), uint32_t(drawing.tips.size()), kGizmoTipSize);
    device.SetViewport(viewport);
}

void DrawParts(const ViewFrameInputs& in, int view)
{
    const ViewDisplay& display = in.displays[view];
    const float overlaySize = static_cast<float>(in.views.gridWidth) * kOverlaySizeInGridWidths;
    Scene& scene = in.scene;
    for (int i = 0; i < scene.PartCount(); ++i) {
        Part& part = *scene.Parts()[i];
        CMesh* mesh = part.mesh.get();
        if (mesh == nullptr) continue;
        mesh->SetPrimitiveType(PrimitiveOf(display));
        if (scene.Tree().IsChecked(part.treeItem)) {
            mesh->DrawMesh();
            if (display.collision) mesh->DrawCollision(in.colours[ColourIndex::Coll]);
            if (display.normals) mesh->DrawNormal(overlaySize, in.colours[ColourIndex::Normal]);
            if (display.pivot) mesh->DrawPivotPoint(overlaySize, in.colours[ColourIndex::Pivot]);
        }
        if (i == in.selectedPart && display.showSelection) mesh->DrawBoundingBox(in.colours[ColourIndex::Select]);
    }
}

}  // namespace

void DrawGrid(RenderDevice& device, const ViewState& views, int view, const GridGeometry& grid)
{
    device.SetLighting(false);
    device.SetTexture(nullptr);
    device.SetMaterial(RenderMaterial{});
    device.SetTransform(TransformKind::World, Matrix4::Identity());
    const ViewType type = views.views[view].type;
    const bool pers = type == ViewType::Pers;
    if ((type >= ViewType::Top && type <= ViewType::BottomRev) || (pers && views.gridZX)) DrawLines(device, grid.zx);
    if (type == ViewType::Front || type == ViewType::Back || (pers && views.gridXY)) DrawLines(device, grid.xy);
    if (type == ViewType::Left || type == ViewType::Right || (pers && views.gridYZ)) DrawLines(device, grid.yz);
    DrawLines(device, grid.axes);
    device.SetLighting(true);
}

void RenderViews(RenderDevice& device, const ViewFrameInputs& in)
{
    const ViewState& views = in.views;
    // One clear of the whole window, then the gaps between the views: a
    // software renderer clears a whole target at once but a part of one
    // pixel by pixel, and the gaps are a few pixels wide.
    const Viewport whole = ViewportOf({0, 0, views.RenderWidth(), views.RenderHeight()});
    device.SetViewport(whole);
    device.Clear(in.colours[ColourIndex::Back], 1.0f);
    for (const PixelRect& gap : views.GapRects()) {
        device.SetViewport(ViewportOf(gap));
        device.Clear(in.colours[ColourIndex::Line], 1.0f);
    }
    if (!device.BeginScene()) return;
    const bool gridShown = in.showGrid && in.scene.Tree().IsChecked(in.scene.rootPart.treeItem);
    for (int i = 0; i < ViewState::kViewCount; ++i) {
        if (!views.views[i].enabled) continue;
        device.SetViewport(ViewportOf(views.Viewport(i)));
        device.SetTransform(TransformKind::Projection, views.ProjectionMatrix(i));
        device.SetTransform(TransformKind::View, views.ViewMatrix(i));
        if (gridShown) DrawGrid(device, views, i, in.grid);
        DrawParts(in, i);
        if (in.displays[i].onionSkin && in.ghosts && !in.ghosts->empty()) DrawGhosts(device, in, i);
        if (in.displays[i].motionPath && in.path) DrawPath(device, *in.path);
        if (in.marks) DrawPath(device, *in.marks);
        if (in.gizmo) DrawGizmo(device, in, i);
    }
    device.SetViewport(whole);
    device.EndScene();
}

}  // namespace m3d
