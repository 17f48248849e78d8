#pragma once

#include "anim/KeyMove.h"
#include "editor/EditorCommand.h"
#include "editor/TimelineGeometry.h"
#include "math/Matrix4.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace m3d {

class EditorSession;

// Copied keys, held by Part (Part::id) rather than by index, so that a paste
// after Parts were deleted, re-parented, undone or redone still reaches the
// Parts they were copied from.
struct KeyClipboard {
    // One Part's keys of the copied frames.
    struct CopiedPart {
        uint64_t part = 0;
        // The Part's parent when copied (0: top level). A Part under another
        // parent now gets its keys re-expressed there.
        uint64_t parent = 0;
        // Per copied frame, in order: the key (its matrix and interpolation),
        // or nullopt where the Part had none (the paste deletes the key there).
        std::vector<std::optional<KeyFrame>> keys;
        // Per copied frame: the key's world placement as of the copy (the
        // key times its parent's world matrix then); meaningful only where
        // keys holds one.
        std::vector<Matrix4> worlds;
    };
    int frames = 0;  // how many frames were copied; 0: nothing
    std::vector<CopiedPart> parts;
};

// Scroll bar actions, as the panel's bars report them.
enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, Track, ToStart, ToEnd, Other };

// The motion panel's own state and rules: its geometry and zoom, scroll
// positions, the frame under the mouse, the drags (scrubbing, showing the
// pose, choosing a range, moving keys), the range, the key clipboard and the
// key commands over the range. The current Motion and frame are the session's.
class MotionTimeline {
public:
    explicit MotionTimeline(EditorSession& session) : session(session) {}

    const TimelineGeometry& Geometry() const { return geometry; }
    // The panel's size beyond its designed one: extraWidth pixels and
    // extraRows rows (each 0 or more); the positions are kept within range.
    void SetPanelGrowth(int extraWidth, int extraRows);
    // Zoom of the frame axis, in pixels a frame (kept within 2 ... 20).
    int FramePixels() const { return geometry.framePixels; }
    void SetFramePixels(int pixels);
    // Ctrl+wheel: steps pixels a frame more (or fewer when negative), keeping
    // the frame under x about where it is. True when the zoom changed.
    bool ZoomAt(int x, int steps);

    int ScrollTens() const { return scrollTens; }
    int FirstRow() const { return firstRow; }
    // The first visible frame (10 x ScrollTens).
    int FirstFrame() const { return 10 * scrollTens; }
    int AutoScroll() const { return autoScroll; }
    bool HasRange() const { return hasRange; }
    // The range in frame order (lo <= hi); currentFrame ... currentFrame without a range.
    int RangeLow() const;
    int RangeHigh() const;
    bool Dragging() const { return leftDragging || rightDragging || rangeDragging; }
    const KeyClipboard& Clipboard() const { return clipboard; }

    // The smallest first visible frame (in tens) that shows the current
    // Motion's last frame; 0 without a Motion. As designed: max(0, (length - 61) / 10).
    int MaxScrollTens() const;
    // Parts less the rows shown, or 0.
    int MaxFirstRow() const;
    // Pixel x where the frames after the current Motion's last frame begin
    // (the left edge of the first one's cell), for shading them; nothing
    // when none of them shows or there is no Motion.
    std::optional<int> PastLengthX() const;
    // Pixel x of frame (it may lie outside the visible frames).
    int FrameX(int frame) const { return geometry.FrameX(frame, FirstFrame()); }
    // The frame under pixel x (truncating toward zero as the mouse mapping does).
    int FrameAtX(int x) const { return geometry.FrameAtX(x, FirstFrame()); }
    bool InTimelineArea(int x, int y) const { return geometry.InArea(x, y); }
    // Row whose click band holds (x, y), or -1.
    int RowAt(int x, int y) const { return geometry.RowAt(x, y); }
    // Tens the timeline jumps by when the play head leaves the visible
    // frames: 4 as designed, so that the head lands 31 frames in.
    int PlayJumpTens() const;

    // After Motions or Parts changed or another Motion became current: clamps
    // the positions to their ranges and keeps the selected Part's row visible.
    void UpdateScrollRanges();
    // Another Motion was picked in the list: back to frame 0 at the start.
    void ResetToStart();
    // Scrolls as little as needed for frame to be visible.
    void ScrollToShow(int frame);
    // Horizontal scroll bar: stops playback (no undo step), moves the
    // position and pulls the current frame into the visible frames.
    void ScrollHorizontal(ScrollAction action, int thumb);
    // Vertical scroll bar: moves the rows and the selection along with them.
    void ScrollVertical(ScrollAction action, int thumb);

    // Mouse on the panel, in client pixels. A press shows the pose at the
    // frame under it, and a drag with either button each frame it passes.
    // A left press on a key marker, or inside the range, and a drag along
    // the timeline moves those keys instead, by whole frames when the button
    // comes up (one undo step); released where it was pressed it is an
    // ordinary click. A double click and a drag choose a range.
    void LeftDown(int x, int y);
    void RightDown(int x, int y);
    void LeftDoubleClick(int x, int y);
    void MouseMove(int x);
    void LeftUp();
    void RightUp();

    // The keys a left drag is moving, and by how many frames they would move
    // now (the panel draws them there); nullopt when no keys are dragged.
    struct KeyDragView {
        KeyBlock block;
        int offset;
    };
    std::optional<KeyDragView> DraggedKeys() const;

    // Moves the visible frames (auto-scroll and playback).
    void SetScrollTens(int tens) { scrollTens = tens; }

    // Key commands, each one undo step; none evaluates the pose. Keys are
    // never set beyond the current Motion's length nor deleted at frame 0.
    bool SetKeyHere();
    bool SetAllKeys();
    // Keys the Parts parts (indices; others ignored) at the current frame, as
    // one undo step named after command.
    bool SetKeysOf(const std::vector<int>& parts, EditorCommand command);
    bool DeleteKeys();
    bool DeleteAllKeys();
    bool CopyKeys();
    bool PasteKeys();
    // Gives keys interpolation: those of the range (of the current frame
    // without one) of the current Part, or of every Part when none is
    // selected. One undo step; false when no key changed.
    bool SetInterpolation(const KeyInterpolation& interpolation);
    // The interpolation Set and Set All give a new key (a key they replace
    // keeps its own); PreferencesChanged when it changes. The quaternion
    // Smooth kind is kept only for keys stored with it: asked for new keys
    // (a setting saved before Bezier keys existed), it gives auto-clamped Bezier.
    const KeyInterpolation& NewKeyInterpolation() const { return newKeyInterpolation; }
    void SetNewKeyInterpolation(const KeyInterpolation& interpolation);
    // Drops a key drag in progress without moving any key, so that a command,
    // undo or redo that changes the Parts or keys cannot leave the drag
    // holding Parts or keys that are no longer those it picked up.
    void CancelKeyDrag() { keyDrag.reset(); }

private:
    struct KeyDrag {
        KeyBlock block;
        int pressFrame;
        bool inRange;  // the range's keys: the range moves with them
        bool moved;    // the offset has been other than 0
    };

    // Frame under x lowered to the current Motion's length.
    int ClampedFrameAtX(int x) const;

    // A press on the timeline shows the frames it goes to until its button
    // comes up, one undo step only when it threw away an unkeyed pose.
    void StartShowingFrames();
    void ShowPoseHere();
    void StopShowingFrames();
    void PressAt(int x, int y, bool inArea);
    // The keys a left press at (x, y) picks up: the range's (every Part's)
    // when it lies inside the range, else the key whose marker is under it.
    std::optional<KeyDrag> KeysUnder(int x, int y) const;
    int KeyDragOffset() const;
    void DropKeys();
    // Deletes the keys of parts first ... last over the range (frame 0 kept),
    // as command's undo step.
    bool DeleteKeysOf(EditorCommand command, int firstPart, int lastPart);
    int CurrentLength() const;

    EditorSession& session;
    TimelineGeometry geometry;
    int scrollTens = 0;
    int firstRow = 0;
    int autoScroll = 0;
    bool leftDragging = false, rightDragging = false, rangeDragging = false;
    bool hasRange = false;
    int rangeStart = 0, rangeEnd = 0;
    bool showingFrames = false, unkeyedEditsBeforeShowing = false;
    std::optional<KeyDrag> keyDrag;
    KeyClipboard clipboard;
    KeyInterpolation newKeyInterpolation;
};

}  // namespace m3d
