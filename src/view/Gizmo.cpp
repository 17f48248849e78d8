#include "view/Gizmo.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// Segments of a ring, drawn and hit-tested alike.
constexpr int kRingSegments = 64;
// A ring is left out below this |cos| between its axis and the line of
// sight (seen within about 6 degrees of edge-on), an arrow above it (within
// about 11 degrees of end-on).
constexpr float kRingEdgeOn = 0.1f;
constexpr float kArrowEndOn = 0.98f;
constexpr GizmoHandle kArrows[3] = {GizmoHandle::MoveX, GizmoHandle::MoveY, GizmoHandle::MoveZ};
constexpr GizmoHandle kRings[4] = {GizmoHandle::RotateX, GizmoHandle::RotateY, GizmoHandle::RotateZ,
                                   GizmoHandle::RotateView};

// Two unit vectors at right angles to unit n and to each other.
void PlaneAxes(Vec3 n, Vec3& u, Vec3& v)
{
    const Vec3 other = std::fabs(n.x) < 0.9f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    u = Normalize(Cross(n, other));
    v = Cross(n, u);
}

// The world points of a handle's outline: a closed ring (its first point
// repeated at the end) or an arrow's two ends.
std::vector<Vec3> Outline(const GizmoFrame& frame, GizmoHandle handle)
{
    std::vector<Vec3> points;
    const int axis = HandleAxis(handle);
    if (!IsRing(handle)) {
        const Vec3 a = frame.axes[axis] * frame.worldPerPixel;
        points = {frame.centre + a * kGizmoArrowStart, frame.centre + a * kGizmoArrowTip};
        return points;
    }
    const Vec3 normal = axis >= 0 ? frame.axes[axis] : frame.towardViewer;
    const float radius = (axis >= 0 ? kGizmoRingRadius : kGizmoViewRingRadius) * frame.worldPerPixel;
    Vec3 u, v;
    PlaneAxes(normal, u, v);
    points.reserve(kRingSegments + 1);
    for (int k = 0; k <= kRingSegments; ++k) {
        const float angle = 6.2831853f * static_cast<float>(k % kRingSegments) / kRingSegments;
        points.push_back(frame.centre + (u * std::cos(angle) + v * std::sin(angle)) * radius);
    }
    return points;
}

float DistanceToSegment(PixelPoint p, PixelPoint a, PixelPoint b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0.0f ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(p.x - (a.x + dx * t), p.y - (a.y + dy * t));
}

// The pixel distance from p to the outline of handle on screen; a part of it
// that cannot be projected does not count.
float ScreenDistance(const ViewState& views, int view, const GizmoFrame& frame, GizmoHandle handle, PixelPoint p)
{
    float best = INFINITY;
    std::optional<PixelPoint> previous;
    for (const Vec3& point : Outline(frame, handle)) {
        const std::optional<PixelPoint> here = views.PixelOf(view, point);
        if (here && previous) best = std::min(best, DistanceToSegment(p, *previous, *here));
        previous = here;
    }
    return best;
}

uint32_t ColourOf(GizmoHandle handle, GizmoHandle highlighted)
{
    if (handle == highlighted) return kGizmoHighlightColour;
    const int axis = HandleAxis(handle);
    return axis >= 0 ? kGizmoAxisColours[axis] : kGizmoViewRingColour;
}

}  // namespace

std::optional<GizmoFrame> GizmoFrameOf(const ViewState& views, int view, const Matrix4& partWorld, AxisSpace space)
{
    GizmoFrame frame;
    frame.centre = partWorld.Translation();
    for (int r = 0; r < 3; ++r) {
        Vec3 world{};
        (r == 0 ? world.x : r == 1 ? world.y : world.z) = 1.0f;
        const Vec3 own = Normalize({partWorld.m[r][0], partWorld.m[r][1], partWorld.m[r][2]});
        frame.axes[r] = space == AxisSpace::Local && Length(own) > 0.0f ? own : world;
    }
    const View& v = views.views[view];
    if (IsOrthographic(v.type)) {
        frame.towardViewer = OrthoAxesOf(v.type).lookingAlong * -1.0f;
        frame.worldPerPixel = views.scale;
        return frame;
    }
    const float depth = TransformPoint(frame.centre, views.ViewMatrix(view)).z;
    const PixelRect viewport = views.Viewport(view);
    if (!(depth >= 1.0f) || viewport.Height() <= 0) return std::nullopt;
    frame.towardViewer = Normalize(v.eye - frame.centre);
    frame.worldPerPixel = depth * 2.0f / (static_cast<float>(viewport.Height()) * views.ProjectionMatrix(view).m[1][1]);
    return frame;
}

std::optional<GizmoFrame> FrameOfShown(const ViewState& views, int view, const GizmoShown& shown,
                                       const Matrix4& partWorld)
{
    Matrix4 world = partWorld;
    if (shown.centre) world.SetTranslation(*shown.centre);
    std::optional<GizmoFrame> frame = GizmoFrameOf(views, view, world, shown.space);
    if (frame) frame->arrowsOnly = shown.arrowsOnly;
    return frame;
}

int HandleAxis(GizmoHandle handle)
{
    switch (handle) {
    case GizmoHandle::RotateX:
    case GizmoHandle::MoveX: return 0;
    case GizmoHandle::RotateY:
    case GizmoHandle::MoveY: return 1;
    case GizmoHandle::RotateZ:
    case GizmoHandle::MoveZ: return 2;
    case GizmoHandle::RotateView:
    case GizmoHandle::None: break;
    }
    return -1;
}

bool IsRing(GizmoHandle handle)
{
    return handle == GizmoHandle::RotateX || handle == GizmoHandle::RotateY || handle == GizmoHandle::RotateZ ||
           handle == GizmoHandle::RotateView;
}

GizmoHandle RingOf(int axis) { return kRings[std::clamp(axis, 0, 2)]; }

GizmoHandle ArrowOf(int axis) { return kArrows[std::clamp(axis, 0, 2)]; }

bool HandleShown(const GizmoFrame& frame, GizmoHandle handle)
{
    const int axis = HandleAxis(handle);
    if (handle == GizmoHandle::None || (frame.arrowsOnly && IsRing(handle))) return false;
    if (axis < 0) return true;
    const float facing = std::fabs(Dot(frame.axes[axis], frame.towardViewer));
    return IsRing(handle) ? facing >= kRingEdgeOn : facing <= kArrowEndOn;
}

GizmoHandle GizmoHandleAt(const ViewState& views, int view, const GizmoFrame& frame, int x, int y)
{
    const PixelPoint p{static_cast<float>(x), static_cast<float>(y)};
    GizmoHandle found = GizmoHandle::None;
    float nearest = INFINITY;
    // Arrows first: a ring must be strictly nearer to win over an arrow.
    for (const GizmoHandle handle : {GizmoHandle::MoveX, GizmoHandle::MoveY, GizmoHandle::MoveZ, GizmoHandle::RotateX,
                                     GizmoHandle::RotateY, GizmoHandle::RotateZ, GizmoHandle::RotateView}) {
        if (!HandleShown(frame, handle)) continue;
        const float distance = ScreenDistance(views, view, frame, handle, p);
        if (distance <= kGizmoReach && distance < nearest) {
            nearest = distance;
            found = handle;
        }
    }
    return found;
}

GizmoDrawing DrawingOfGizmo(const GizmoFrame& frame, GizmoHandle highlighted)
{
    GizmoDrawing drawing;
    const auto add = [](std::vector<LineVertex>& to, Vec3 p, uint32_t colour) {
        to.push_back({p.x, p.y, p.z, colour});
    };
    for (const GizmoHandle handle : kRings) {
        if (!HandleShown(frame, handle)) continue;
        const uint32_t colour = ColourOf(handle, highlighted);
        const std::vector<Vec3> points = Outline(frame, handle);
        for (size_t k = 1; k < points.size(); ++k) {
            add(drawing.lines, points[k - 1], colour);
            add(drawing.lines, points[k], colour);
        }
    }
    for (const GizmoHandle handle : kArrows) {
        if (!HandleShown(frame, handle)) continue;
        const uint32_t colour = ColourOf(handle, highlighted);
        const std::vector<Vec3> ends = Outline(frame, handle);
        add(drawing.lines, ends[0], colour);
        add(drawing.lines, ends[1], colour);
        add(drawing.tips, ends[1], colour);
    }
    return drawing;
}

}  // namespace m3d
