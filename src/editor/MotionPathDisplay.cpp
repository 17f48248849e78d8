#include "editor/MotionPathDisplay.h"

#include "editor/EditorSession.h"

#include <algorithm>

namespace m3d {

namespace {

LineVertex Vertex(Vec3 p, uint32_t colour) { return {p.x, p.y, p.z, colour}; }

}  // namespace

PathDrawing DrawingOfPath(const PivotPath& path, int current)
{
    PathDrawing drawing;
    PathDots frames{kPathFrameDotSize, {}}, keys{kPathKeyDotSize, {}}, now{kPathCurrentDotSize, {}};
    for (const Vec3& p : path.positions) {
        drawing.line.push_back(Vertex(p, kPathLineColour));
        frames.points.push_back(Vertex(p, kPathFrameColour));
    }
    for (int frame : path.keyFrames) keys.points.push_back(Vertex(path.positions[size_t(frame)], kPathFrameColour));
    if (current >= 0 && current < int(path.positions.size()))
        now.points.push_back(Vertex(path.positions[size_t(current)], kPathCurrentColour));
    drawing.dots = {std::move(frames), std::move(keys), std::move(now)};
    return drawing;
}

MotionPathDisplay::MotionPathDisplay(EditorSession& owner) : session(owner), watch(owner.Events()) {}

const PathDrawing* MotionPathDisplay::Drawing()
{
    const ViewDisplays& displays = session.Displays();
    const bool shown = std::any_of(displays.begin(), displays.end(), [](const ViewDisplay& d) { return d.motionPath; });
    const int motion = session.CurrentMotion(), part = session.CurrentPart();
    if (!shown || session.IsPlaying() || motion < 0 || part < 0) return nullptr;
    if (motion != sampledMotion || part != sampledPart || !watch.Current(stamp)) {
        path = PivotPathOf(session.GetScene(), session.GetScene().MotionAt(motion), part);
        stamp = watch.Stamp(path.followsPose);
        sampledMotion = motion;
        sampledPart = part;
    }
    drawing = DrawingOfPath(path, session.CurrentFrame());
    return &drawing;
}

}  // namespace m3d
