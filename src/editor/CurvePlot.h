#pragma once

#include "view/ViewState.h"

namespace m3d {

// The curve panel's mapping between frames and values and the pixels of its
// plot area: frames run left to right, values bottom to top. The visible
// ranges are kept within limits: the frames shown span kMinFrameSpan to four
// times the Motion's frames and their middle stays within the Motion; the
// values span kMinValueSpan to kMaxValueSpan and their middle stays within
// kMaxValueSpan of 0.
class CurvePlot {
public:
    static constexpr double kMinFrameSpan = 4.0;
    static constexpr double kMinValueSpan = 1e-3;
    static constexpr double kMaxValueSpan = 1e7;
    // Each notch of the wheel zooms by this factor.
    static constexpr double kZoomStep = 1.25;

    // The plot area, in panel pixels. An area less than 2 pixels across maps
    // as if it were 2.
    void SetArea(const PixelRect& plotArea) { area = plotArea; }
    const PixelRect& Area() const { return area; }

    double FrameLow() const { return frameLow; }
    double FrameHigh() const { return frameHigh; }
    double ValueLow() const { return valueLow; }
    double ValueHigh() const { return valueHigh; }

    // FrameLow at the area's left pixel, FrameHigh at its right one (right - 1).
    double XOf(double frame) const;
    double FrameAtX(double x) const;
    // ValueHigh at the area's top pixel, ValueLow at its bottom one (bottom - 1).
    double YOf(double value) const;
    double ValueAtY(double y) const;

    // Shows frames 0 ... length and values low ... high (low <= high), with a
    // margin around the frames, and around the values when valueMargin; a
    // flat range of values gets a span of its own.
    void Fit(int length, double low, double high, bool valueMargin = true);
    // Zooms the frames (in for notches > 0, out for notches < 0) keeping the
    // frame under pixel x where it is, as far as the limits allow.
    void ZoomFrames(double x, int notches, int length);
    // The same for the values about pixel y.
    void ZoomValues(double y, int notches);
    // Sets the ranges to those of from moved by dx, dy pixels (what was
    // under the mouse follows it), within the limits.
    void PanFrom(const CurvePlot& from, double dx, double dy, int length);

private:
    // Brings the frames within the limits for a Motion of frames 0 ... length.
    void LimitFrames(int length);
    void LimitValues();
    double PixelWidth() const;
    double PixelHeight() const;

    PixelRect area;
    double frameLow = 0.0, frameHigh = 60.0;
    double valueLow = -1.0, valueHigh = 1.0;
};

// The distance between the lines of a scale: 1, 2 or 5 times a power of ten
// (never below minStep), the smallest that leaves at least minPixels pixels
// between lines when span units take pixels pixels. span and pixels above 0.
double TickStep(double span, double pixels, double minPixels, double minStep = 0.0);

}  // namespace m3d
