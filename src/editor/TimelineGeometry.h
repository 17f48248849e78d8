#pragma once

namespace m3d {

// The motion panel's timeline in client pixels (origin at the panel's top-left
// corner). With nothing changed it is the panel's designed timeline: eight
// rows of Parts and 71 frames at 5 pixels a frame, its mouse area 84 ... 438 x
// 37 ... 157. A panel made wider shows more frames, one made taller more
// rows; the zoom sets the pixels a frame takes.
struct TimelineGeometry {
    static constexpr int kDesignedRows = 8;
    static constexpr int kRowHeight = 15;
    static constexpr int kMinFramePixels = 2;
    static constexpr int kMaxFramePixels = 20;
    static constexpr int kDefaultFramePixels = 5;

    int extraWidth = 0;                     // pixels the panel is wider than designed (0 or more)
    int extraRows = 0;                      // rows beyond the designed eight (0 or more)
    int framePixels = kDefaultFramePixels;  // kMinFramePixels ... kMaxFramePixels

    int Rows() const { return kDesignedRows + extraRows; }
    // The mouse area; right and bottom inclusive.
    static constexpr int Left() { return 84; }
    static constexpr int Top() { return 37; }
    int Right() const { return 438 + extraWidth; }
    int Bottom() const { return Top() + kRowHeight * Rows(); }
    // The right end of the rows' click bands.
    int BandRight() const { return 435 + extraWidth; }
    // Frames shown at once: 71 as designed.
    int VisibleFrames() const { return (Right() - Left() + 1) / framePixels; }

    // x of frame's line when the first visible frame is first (it may lie
    // outside the area): 86 for the first frame as designed.
    int FrameX(int frame, int first) const { return Left() + framePixels * (frame - first) + framePixels / 2; }
    // The frame under x, truncating toward zero (so a few pixels left of the
    // area still give the first frame).
    int FrameAtX(int x, int first) const { return (x - Left()) / framePixels + first; }
    bool InArea(int x, int y) const { return x >= Left() && x <= Right() && y >= Top() && y <= Bottom(); }
    // Row 0 ... Rows() - 1 whose click band holds (x, y), or -1.
    int RowAt(int x, int y) const;

    // Frames between two numbered lines of the ruler: 10 as designed; the
    // numbers stay at least 40 pixels apart at any zoom (1, 2, 5, 10, 20, 50, ...).
    int RulerStep() const;
    // Left edge in dialog units of the ruler number centred on the line at
    // pixel x (as designed: 42, 71, 99, ... for the lines at 86, 136, 186, ...).
    static int RulerLabelLeftUnits(int lineX);
};

}  // namespace m3d
