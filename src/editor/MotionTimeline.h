#pragma once

#include "editor/EditorCommand.h"
#include "math/Matrix4.h"

#include <vector>

class EditorSession;

// Frames visible at once on the timeline (71: first ... first + 70) and rows.
constexpr int TIMELINE_VISIBLE_FRAMES = 71;
constexpr int TIMELINE_ROWS = 8;
// Client-pixel geometry of the timeline, from the panel's top-left corner.
constexpr int TIMELINE_FRAME0_X = 86;      // x of the first visible frame
constexpr int TIMELINE_PIXELS_PER_FRAME = 5;
constexpr int TIMELINE_LEFT = 84, TIMELINE_TOP = 37, TIMELINE_RIGHT = 438, TIMELINE_BOTTOM = 157;
constexpr int TIMELINE_ROW_HEIGHT = 15;
constexpr int TIMELINE_BAND_LEFT = 7, TIMELINE_BAND_RIGHT = 435;

// Copied keys: per slot (one frame) a flag and a matrix per Part as of the copy.
struct KeyClipboard {
    struct Slot {
        std::vector<bool> hasKey;
        std::vector<Matrix4> matrices;
    };
    std::vector<Slot> slots;
};

// Scroll bar actions, as the panel's bars report them.
enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, Track, ToStart, ToEnd, Other };

// The motion panel's own state and rules: scroll positions, the frame under
// the mouse, the three drags, the range, the key clipboard and the key
// commands over the range. The current Motion and frame are the session's.
class MotionTimeline {
public:
    explicit MotionTimeline(EditorSession& session) : session(session) {}

    int ScrollTens() const { return scrollTens; }
    int FirstRow() const { return firstRow; }
    int AutoScroll() const { return autoScroll; }
    bool HasRange() const { return hasRange; }
    // The range in frame order (lo <= hi); currentFrame ... currentFrame without a range.
    int RangeLow() const;
    int RangeHigh() const;
    bool Dragging() const { return leftDragging || rightDragging || rangeDragging; }
    const KeyClipboard& Clipboard() const { return clipboard; }

    // max(0, (length - 61) / 10) of the current Motion; 0 without one.
    int MaxScrollTens() const;
    // Parts - 8, or 0 with 8 Parts or fewer.
    int MaxFirstRow() const;
    // Pixel x of frame (it may lie outside the visible frames).
    int FrameX(int frame) const;
    // The frame under pixel x (truncating toward zero as the mouse mapping does).
    int FrameAtX(int x) const;
    static bool InTimelineArea(int x, int y);
    // Row 0 ... 7 whose click band holds (x, y), or -1.
    static int RowAt(int x, int y);

    // After Motions or Parts changed or another Motion became current: clamps
    // the positions to their ranges and keeps the selected Part's row visible.
    void UpdateScrollRanges();
    // Another Motion was picked in the list: back to frame 0 at the start.
    void ResetToStart();
    // Horizontal scroll bar: stops playback (no undo step), moves the
    // position and pulls the current frame into the visible frames.
    void ScrollHorizontal(ScrollAction action, int thumb);
    // Vertical scroll bar: moves the rows and the selection along with them.
    void ScrollVertical(ScrollAction action, int thumb);

    // Mouse on the panel, in client pixels.
    void LeftDown(int x, int y);
    void RightDown(int x, int y);
    void LeftDoubleClick(int x, int y);
    void MouseMove(int x);
    void LeftUp();
    void RightUp();

    // Moves the visible frames (auto-scroll and playback).
    void SetScrollTens(int tens) { scrollTens = tens; }

    // Key commands, each one undo step; none evaluates the pose. Keys are
    // never set beyond the current Motion's length nor deleted at frame 0.
    bool SetKeyHere();
    bool SetAllKeys();
    bool DeleteKeys();
    bool DeleteAllKeys();
    bool CopyKeys();
    bool PasteKeys();

private:
    // Frame under x lowered to the current Motion's length.
    int ClampedFrameAtX(int x) const;
    void PressAt(int x, int y, bool inArea);
    // Deletes the keys of parts first ... last over the range (frame 0 kept),
    // as command's undo step.
    bool DeleteKeysOf(EditorCommand command, int firstPart, int lastPart);
    int CurrentLength() const;

    EditorSession& session;
    int scrollTens = 0;
    int firstRow = 0;
    int autoScroll = 0;
    bool leftDragging = false, rightDragging = false, rangeDragging = false;
    bool hasRange = false;
    int rangeStart = 0, rangeEnd = 0;
    KeyClipboard clipboard;
};
