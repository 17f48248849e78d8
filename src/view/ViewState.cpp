#include "view/ViewState.h"

#include "meshlib/CMesh.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace m3d {

void ViewState::SetRenderSize(int width, int height)
{
    renderWidth = std::max(width, 0);
    renderHeight = std::max(height, 0);
    UpdateViewRects();
}

void ViewState::UpdateViewRects()
{
    const int w = renderWidth - 4;
    const int h = renderHeight;
    const int d = kSplitGap;
    const int a = static_cast<int>(static_cast<float>(w) * splitX);
    const int b = static_cast<int>(static_cast<float>(h) * splitY);
    views[0].rect = {0, 0, a - 2 * d, b - 2 * d};
    views[1].rect = {a + d, 0, w, b - 2 * d};
    views[2].rect = {0, b + d, a - 2 * d, h};
    views[3].rect = {a + d, b + d, w, h};
    splitterBand = {a - 2 * d, b - 2 * d, a + d, b + d};
}

PixelRect ViewState::Viewport(int i) const
{
    if (fourViewMode) return views[i].rect;
    return {0, 0, renderWidth, renderHeight};
}

std::vector<PixelRect> ViewState::GapRects() const
{
    std::vector<PixelRect> shown;
    std::vector<int> xs{0, renderWidth}, ys{0, renderHeight};
    for (int i = 0; i < kViewCount; ++i) {
        const PixelRect v = Viewport(i);
        const PixelRect r{std::max(v.left, 0), std::max(v.top, 0), std::min(v.right, renderWidth),
                          std::min(v.bottom, renderHeight)};
        if (!views[i].enabled || r.Width() <= 0 || r.Height() <= 0) continue;
        shown.push_back(r);
        xs.insert(xs.end(), {r.left, r.right});
        ys.insert(ys.end(), {r.top, r.bottom});
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    // Every view's edges cut the window into cells that each lie wholly
    // inside or outside a view; the cells outside, joined along their rows.
    std::vector<PixelRect> gaps;
    for (size_t row = 0; row + 1 < ys.size(); ++row) {
        for (size_t column = 0; column + 1 < xs.size(); ++column) {
            const PixelRect cell{xs[column], ys[row], xs[column + 1], ys[row + 1]};
            const bool covered = std::any_of(shown.begin(), shown.end(),
                                             [&](const PixelRect& r) { return r.Contains(cell.left, cell.top); });
            if (covered) continue;
            if (!gaps.empty() && gaps.back().top == cell.top && gaps.back().right == cell.left)
                gaps.back().right = cell.right;
            else
                gaps.push_back(cell);
        }
    }
    return gaps;
}

int ViewState::ViewAt(int x, int y) const
{
    for (int i = 0; i < kViewCount; ++i)
        if (views[i].enabled && Viewport(i).Contains(x, y)) return i;
    return -1;
}

void ViewState::ToggleLayout(int i)
{
    fourViewMode = fourViewMode ? 0 : 1;
    for (int k = 0; k < kViewCount; ++k) views[k].enabled = fourViewMode || k == i ? 1 : 0;
    maximisedView = i;
}

void ViewState::SetViewType(int i, ViewType type)
{
    View& v = views[i];
    v.type = ViewType(std::clamp(int(type), 0, kViewTypeCount - 1));
    if (v.type == ViewType::Pers) {
        v.eye = v.savedPersEye;
        v.target = v.savedPersTarget;
    } else {
        v.eye = OrthoEye(v.type, v.target, 2000.0f);
    }
}

void ViewState::SavePersCamera(int i)
{
    View& v = views[i];
    if (v.type != ViewType::Pers) return;
    v.savedPersEye = v.eye;
    v.savedPersTarget = v.target;
}

Matrix4 ViewState::ProjectionMatrix(int i) const
{
    const PixelRect vp = Viewport(i);
    const float w = static_cast<float>(std::max(vp.Width(), 1));
    const float h = static_cast<float>(std::max(vp.Height(), 1));
    if (IsOrthographic(views[i].type)) return MatrixOrthoLH(w * scale, h * scale, 0.0f, kFarPlane);
    return MatrixPerspectiveFovLH(3.14159265f / 4.0f, w / h, 1.0f, kFarPlane);
}

Matrix4 ViewState::ViewMatrix(int i) const { return MatrixLookAtLH(views[i].eye, views[i].target, {0, 1, 0}); }

Ray ViewState::PixelToRay(int i, int x, int y) const
{
    const View& v = views[i];
    const PixelRect vp = Viewport(i);
    const float w = static_cast<float>(std::max(vp.Width(), 1));
    const float h = static_cast<float>(std::max(vp.Height(), 1));
    if (IsOrthographic(v.type)) {
        const OrthoAxes& axes = OrthoAxesOf(v.type);
        const float sx = static_cast<float>(x - vp.left) - w * 0.5f;
        const float sy = static_cast<float>(y - vp.top) - h * 0.5f;
        return {v.eye + (axes.screenRight * sx + axes.screenDown * sy) * scale, axes.lookingAlong};
    }
    const Matrix4 projection = ProjectionMatrix(i);
    const Matrix4 view = ViewMatrix(i);
    const float vx = (2.0f * static_cast<float>(x - vp.left) / w - 1.0f) / projection.m[0][0];
    const float vy = -(2.0f * static_cast<float>(y - vp.top) / h - 1.0f) / projection.m[1][1];
    // The columns of the view matrix's rotation are the camera's axes in world space.
    const Vec3 xAxis{view.m[0][0], view.m[1][0], view.m[2][0]};
    const Vec3 yAxis{view.m[0][1], view.m[1][1], view.m[2][1]};
    const Vec3 zAxis{view.m[0][2], view.m[1][2], view.m[2][2]};
    return {v.eye, Normalize(xAxis * vx + yAxis * vy + zAxis)};
}

std::optional<PixelPoint> ViewState::PixelOf(int i, Vec3 p) const
{
    const PixelRect vp = Viewport(i);
    const Vec3 inView = TransformPoint(p, ViewMatrix(i));
    if (!IsOrthographic(views[i].type) && !(inView.z >= 1.0f)) return std::nullopt;
    const Vec3 ndc = TransformCoord(inView, ProjectionMatrix(i));
    return PixelPoint{
        static_cast<float>(vp.left) + (ndc.x + 1.0f) * 0.5f * static_cast<float>(std::max(vp.Width(), 1)),
        static_cast<float>(vp.top) + (1.0f - ndc.y) * 0.5f * static_cast<float>(std::max(vp.Height(), 1))};
}

int WidenByVertices(const std::vector<const CMesh*>& meshes, Vec3& lo, Vec3& hi)
{
    int seen = 0;
    for (const CMesh* mesh : meshes) {
        if (!mesh) continue;
        const Matrix4 world = mesh->GetMatrix();
        const int count = mesh->GetVertexNum();
        for (int k = 0; k < count; ++k) {
            const _MESH_VERTEX* vertex = mesh->GetVertex(k);
            const Vec3 p = TransformPoint({vertex->x, vertex->y, vertex->z}, world);
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        seen += count;
    }
    return seen;
}

namespace {

// The extent of a box of size along a screen axis (axis-aligned, so one of its components).
float ExtentAlong(Vec3 size, Vec3 axis) { return std::fabs(Dot(size, axis)); }

}  // namespace

void ViewState::FitViews(const std::vector<const CMesh*>& meshes)
{
    Vec3 lo{1000000.0f, 1000000.0f, 1000000.0f};
    Vec3 hi{-999999.875f, -999999.875f, -999999.875f};
    WidenByVertices(meshes, lo, hi);
    CentreViews((lo + hi) * 0.5f);
}

void ViewState::CentreViews(Vec3 centre)
{
    const float distance = kFarPlane * 0.5f;
    for (View& v : views) {
        v.target = centre;
        if (v.type == ViewType::Pers)
            v.eye = centre + (v.savedPersEye - v.savedPersTarget);
        else
            v.eye = OrthoEye(v.type, centre, distance);
    }
}

void ViewState::FitWholeModel(const std::vector<const CMesh*>& meshes)
{
    Vec3 lo{FLT_MAX, FLT_MAX, FLT_MAX};
    Vec3 hi{-FLT_MAX, -FLT_MAX, -FLT_MAX};
    if (WidenByVertices(meshes, lo, hi) == 0) {
        FitViews(meshes);
        return;
    }
    FitBox(lo, hi);
}

void ViewState::FitBox(Vec3 lo, Vec3 hi)
{
    const Vec3 centre = (lo + hi) * 0.5f;
    const Vec3 size = hi - lo;
    CentreViews(centre);
    const float filled = 1.0f - 2.0f * kWholeModelMargin;
    float orthoScale = 0.0f;
    for (int i = 0; i < kViewCount; ++i) {
        const PixelRect vp = Viewport(i);
        if (!views[i].enabled || vp.Width() <= 0 || vp.Height() <= 0) continue;
        const float w = static_cast<float>(vp.Width()) * filled;
        const float h = static_cast<float>(vp.Height()) * filled;
        if (IsOrthographic(views[i].type)) {
            const OrthoAxes& axes = OrthoAxesOf(views[i].type);
            orthoScale =
                std::max({orthoScale, ExtentAlong(size, axes.screenRight) / w, ExtentAlong(size, axes.screenDown) / h});
            continue;
        }
        const float radius = Length(size) * 0.5f;
        if (radius <= 0.0f) continue;
        // The sphere's outline seen from distance d spans asin(radius / d) from
        // the centre; it must reach filled of the narrower half field of view.
        const float halfHeight = std::tan(3.14159265f / 8.0f);
        const float halfNarrow = halfHeight * std::min(1.0f, w / h);
        const float distance = std::max(radius / std::sin(std::atan(halfNarrow * filled)), radius + 1.0f);
        View& v = views[i];
        const Vec3 back = Normalize(v.eye - v.target);
        v.eye = centre + (Length(back) > 0.0f ? back : Vec3{0, 0, -1}) * distance;
        SavePersCamera(i);
    }
    if (orthoScale > 0.0f && std::isfinite(orthoScale)) scale = orthoScale;
}

void ViewState::LightFromFront()
{
    const View& v = views[CurrentView()];
    lightDirection = Normalize(v.target - v.eye);
}

void ViewState::SetGridWidth(int width) { gridWidth = std::clamp(width, kGridWidthMin, kGridWidthMax); }

}  // namespace m3d
