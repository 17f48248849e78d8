#include "editor/CurvePlot.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// Sets [low, high] to span around its middle, the middle kept within [lowest, highest].
void Reframe(double& low, double& high, double span, double lowest, double highest)
{
    const double middle = std::clamp((low + high) / 2.0, lowest, highest);
    low = middle - span / 2.0;
    high = middle + span / 2.0;
}

// [low, high] zoomed by factor about the value at, which keeps its place.
void ZoomAbout(double& low, double& high, double at, double factor, double minSpan, double maxSpan)
{
    const double span = high - low;
    const double zoomed = std::clamp(span / factor, minSpan, maxSpan);
    const double share = span > 0.0 ? (at - low) / span : 0.5;
    low = at - share * zoomed;
    high = low + zoomed;
}

double MaxFrameSpan(int length) { return std::max(CurvePlot::kMinFrameSpan, 4.0 * (std::max(length, 0) + 1)); }

}  // namespace

double CurvePlot::PixelWidth() const { return std::max(area.Width() - 1, 1); }

double CurvePlot::PixelHeight() const { return std::max(area.Height() - 1, 1); }

double CurvePlot::XOf(double frame) const
{
    return area.left + (frame - frameLow) / (frameHigh - frameLow) * PixelWidth();
}

double CurvePlot::FrameAtX(double x) const
{
    return frameLow + (x - area.left) / PixelWidth() * (frameHigh - frameLow);
}

double CurvePlot::YOf(double value) const
{
    return area.top + (valueHigh - value) / (valueHigh - valueLow) * PixelHeight();
}

double CurvePlot::ValueAtY(double y) const
{
    return valueHigh - (y - area.top) / PixelHeight() * (valueHigh - valueLow);
}

void CurvePlot::Fit(int length, double low, double high, bool valueMargin)
{
    const double frameMargin = std::max(0.5, 0.02 * length);
    frameLow = -frameMargin;
    frameHigh = length + frameMargin;
    const double span = high - low;
    const double margin = span > kMinValueSpan ? (valueMargin ? 0.1 * span : 0.0) : std::max(1.0, 0.1 * std::fabs(low));
    valueLow = low - margin;
    valueHigh = high + margin;
    LimitFrames(length);
    LimitValues();
}

void CurvePlot::ZoomFrames(double x, int notches, int length)
{
    ZoomAbout(frameLow, frameHigh, FrameAtX(x), std::pow(kZoomStep, notches), kMinFrameSpan, MaxFrameSpan(length));
    LimitFrames(length);
}

void CurvePlot::ZoomValues(double y, int notches)
{
    ZoomAbout(valueLow, valueHigh, ValueAtY(y), std::pow(kZoomStep, notches), kMinValueSpan, kMaxValueSpan);
    LimitValues();
}

void CurvePlot::PanFrom(const CurvePlot& from, double dx, double dy, int length)
{
    const double frames = dx / from.PixelWidth() * (from.frameHigh - from.frameLow);
    const double values = dy / from.PixelHeight() * (from.valueHigh - from.valueLow);
    frameLow = from.frameLow - frames;
    frameHigh = from.frameHigh - frames;
    valueLow = from.valueLow + values;
    valueHigh = from.valueHigh + values;
    LimitFrames(length);
    LimitValues();
}

void CurvePlot::LimitFrames(int length)
{
    const double span = std::clamp(frameHigh - frameLow, kMinFrameSpan, MaxFrameSpan(length));
    Reframe(frameLow, frameHigh, span, 0.0, std::max(length, 0));
}

void CurvePlot::LimitValues()
{
    if (!std::isfinite(valueLow) || !std::isfinite(valueHigh)) valueLow = valueHigh = 0.0;
    const double span = std::clamp(valueHigh - valueLow, kMinValueSpan, kMaxValueSpan);
    Reframe(valueLow, valueHigh, span, -kMaxValueSpan, kMaxValueSpan);
}

double TickStep(double span, double pixels, double minPixels, double minStep)
{
    const double wanted = std::max(span * minPixels / pixels, minStep);
    if (!(wanted > 0.0) || !std::isfinite(wanted)) return std::max(minStep, 1.0);
    double step = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (step * factor >= wanted) return std::max(step * factor, minStep);
    return std::max(step * 10.0, minStep);
}

}  // namespace m3d
