#pragma once

#include "anim/PivotPath.h"
#include "editor/MotionSampleWatch.h"
#include "view/ViewRenderer.h"

#include <cstdint>
#include <optional>

namespace m3d {

class EditorSession;

// How the motion path is drawn (ARGB, sizes in pixels): a line through the
// pivot's places, a small dot a frame (their spacing shows the speed), a
// larger one at each key of the Part's track, and the current frame's
// largest, in a colour of its own.
inline constexpr uint32_t kPathLineColour = 0xFF9A7A30u;
inline constexpr uint32_t kPathFrameColour = 0xFFFFC850u;
inline constexpr uint32_t kPathCurrentColour = 0xFF30E0FFu;
inline constexpr float kPathFrameDotSize = 3.0f;
inline constexpr float kPathKeyDotSize = 7.0f;
inline constexpr float kPathCurrentDotSize = 9.0f;

// The motion path the views show: the selected Part's pivot over the current
// Motion. The path is worked out only while a view has its switch on, and
// again only after something it depends on changed (keys, Motions, the
// selection, the Parts; the pose too while a Part of its chain has no keys).
// Must not outlive the session.
class MotionPathDisplay {
public:
    explicit MotionPathDisplay(EditorSession& session);

    // The path to draw in the views whose motion path is on; null while no
    // view has it on, a Motion plays, or there is no current Part or Motion.
    // Valid until the next call.
    const PathDrawing* Drawing();

private:
    EditorSession& session;
    MotionSampleWatch watch;
    PivotPath path;
    SampleStamp stamp;
    int sampledMotion = -1, sampledPart = -1;
    PathDrawing drawing;
};

// The drawing of path with frame current marked (no mark when it lies
// outside the path's frames).
PathDrawing DrawingOfPath(const PivotPath& path, int current);

}  // namespace m3d
