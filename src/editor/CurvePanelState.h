#pragma once

#include "anim/PartCurves.h"
#include "editor/CurvePlot.h"
#include "editor/CurveScales.h"
#include "editor/EaseHandles.h"
#include "editor/MotionSampleWatch.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace m3d {

class EditorSession;

// How a channel's curve is drawn: its legend's letter, its ARGB colour, and
// dashed for the positions, so that angles and positions can be told apart.
struct CurveStyle {
    const char* letter;
    uint32_t colour;
    bool dashed;
};
CurveStyle CurveStyleOf(CurveChannel channel);

// The curve panel's rules: what it plots (the current Part's H, P, B, x, y,
// z over the current Motion, as evaluated, kept until something they depend
// on changes), the mapping of the plot area (CurvePlot), which curves are
// shown and whether each is on its own scale, and the mouse: a left press on
// an ease handle drags it (the segment's ease follows, previewed in the
// curves; the release changes the key as one undo step), elsewhere in the
// plot it goes to the frame under it and shows the pose there as the
// keyboard's frame commands do, dragging on through the frames; a middle or
// right drag pans, the wheel zooms the frames about the cursor (the values
// with Ctrl), a double click fits everything. No frame is chosen and no
// handle dragged while a Motion plays. Must not outlive the session.
class CurvePanelState {
public:
    // A handle is grabbed this many pixels around its place.
    static constexpr double kHandleRadius = 5.0;

    explicit CurvePanelState(EditorSession& session);

    const CurvePlot& Plot() const { return plot; }
    // The plot area, in the panel's pixels.
    void SetPlotArea(const PixelRect& area) { plot.SetArea(area); }

    bool ChannelShown(CurveChannel channel) const { return shown[size_t(channel)]; }
    void SetChannelShown(CurveChannel channel, bool isShown) { shown[size_t(channel)] = isShown; }
    // The normalised view: every curve on its own scale, its lowest value at
    // the bottom of the plot and its highest at the top once fitted
    // (NormalisingScales); off at first. A change fits the plot.
    bool Normalised() const { return normalised; }
    void SetNormalised(bool on);

    // Why nothing is plotted ("モーションがありません", "パーツが選択されていません",
    // translated); "" while the current Part's curves are.
    std::string EmptyText() const;
    // The current Part's curves over the current Motion as plotted (while a
    // handle is dragged, with the ease it gives; in the normalised view, each
    // on its scale); null without a current Motion or Part.
    // Curves of another Part or Motion than those plotted last are fitted.
    // Valid until the next call of a function of the state that is not const.
    const PartCurves* Curves();
    // The ease handles of the curves shown, placed as the curves are
    // plotted (empty while Curves() is null).
    std::vector<EaseHandle> Handles();
    // The handle a left drag is moving, where it is now; nothing otherwise.
    std::optional<EaseHandle> DraggedHandle();
    bool Dragging() const { return drag != Drag::None; }

    // Shows every frame of the Motion and every value of the curves shown
    // (with their handles), with a margin above and below them except in
    // the normalised view.
    void Fit();

    // The mouse, in panel pixels. A press outside the plot area, or while
    // another drag goes on, starts nothing.
    void LeftDown(int x, int y);
    void PanDown(int x, int y);
    void MouseMove(int x, int y);
    // Ends a left drag: a handle moved changes its key's ease (one undo step).
    void LeftUp();
    void PanUp();
    void DoubleClick(int x, int y);
    // notches > 0 zoom in; values: the value axis about y, else the frames about x.
    void Wheel(int x, int y, int notches, bool values);

private:
    enum class Drag { None, Frames, Pan, Handle };
    struct HandleDrag {
        EaseHandle handle;
        KeyInterpolation ease;  // as the mouse has it now
        KeyInterpolation pressed;
        uint64_t changes;  // the session's changes at the press: any other cancels the drag
        int motion, part;
        double offsetX, offsetY;  // from the mouse to the handle's place at the press
        PartCurves preview;       // as evaluated
        CurveScales scales;       // the curves' scales at the press, kept for the drag
        PartCurves plottedPreview;
    };

    // The current Motion's length, 0 without one.
    int Length() const;
    // The frame nearest pixel x, within the Motion.
    int FrameUnder(int x) const;
    // Drops a handle drag that the session's changes or playback overtook.
    bool HandleDragStillValid() const;
    // The handles of evaluated curves, placed by the scales by.
    std::vector<EaseHandle> PlottedHandles(const PartCurves& evaluated, const CurveScales& by) const;
    void MoveHandle(int x, int y);

    EditorSession& session;
    MotionSampleWatch watch;
    CurvePlot plot;
    std::array<bool, kCurveChannelCount> shown{true, true, true, true, true, true};
    bool normalised = false;
    PartCurves curves;  // as evaluated
    CurveScales scales = kUnscaledCurves;
    PartCurves plotted;
    SampleStamp stamp;
    int sampledMotion = -1, sampledPart = -1;
    int fittedMotion = -1, fittedPart = -1;
    Drag drag = Drag::None;
    int pressX = 0, pressY = 0;
    CurvePlot pressPlot;
    std::optional<HandleDrag> handleDrag;
};

}  // namespace m3d
