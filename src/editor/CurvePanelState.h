#pragma once

#include "anim/CurveKeyEdit.h"
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

// A Bezier key's handle as the curve panel shows it: which one, where it
// sits and the key's point it hangs from, in plotted values.
struct TangentHandle {
    TangentHandleRef ref;
    double frame = 0.0, value = 0.0;
    double anchorFrame = 0.0, anchorValue = 0.0;
};

// The curve panel's rules: what it plots (the current Part's H, P, B, x, y,
// z over the current Motion, as evaluated, kept until something they depend
// on changes), the mapping of the plot area (CurvePlot), which curves are
// shown and whether each is on its own scale, the key points picked, and the
// mouse:
// - a left press on an ease handle drags it (the segment's ease follows,
//   previewed in the curves; the release changes the key as one undo step);
// - on a handle of a picked Bezier key (both sides of each picked point's
//   key on its channel are shown) it drags the handle: the key keeps its
//   handles from then on (aligned, its other side staying on the line;
//   free for a corner), previewed, one undo step on release;
// - on a key's point of a curve shown it picks the point (Shift: adds it or
//   takes it away) and drags every point picked: their keys move by whole
//   frames and their values by what the mouse moved on each point's scale
//   (Shift: only the way the mouse went furthest), previewed in the curves,
//   one undo step on release;
// - elsewhere in the plot a click goes to the frame under it and shows the
//   pose there as the keyboard's frame commands do, a drag picks the points
//   within its box (Shift: adds them to those picked);
// - a middle or right drag pans (a right click gives the key menu), the wheel zooms the frames about the cursor
//   (the values with Ctrl), a double click fits everything.
// No frame is chosen and nothing dragged or edited while a Motion plays.
// Must not outlive the session.
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

    // The key points picked (sorted) on the current Part's curves, where a
    // drag has them now; points whose key is gone are dropped, and the
    // points are forgotten when another Motion or Part becomes current.
    const std::vector<CurveKeyPoint>& Selection();
    bool Selected(const CurveKeyPoint& point);
    // The box a left drag on the plot is picking with, in panel pixels.
    std::optional<PixelRect> SelectionBox() const;
    // The value every point picked has (unscaled); nothing when none is
    // picked or their values differ.
    std::optional<double> SelectedValue();
    // Every point picked takes value, as typed (one undo step, "キー値の変更");
    // false when nothing changed or nothing can be edited now.
    bool SetSelectedValue(double value);
    // The keys of the points picked take interpolation (one undo step, named
    // as the interpolation commands); false when nothing changed.
    bool SetSelectedInterpolation(const KeyInterpolation& interpolation);
    // The handles of the picked points' keys level on the points' channels
    // (TrackWithFlatHandles; one undo step, "ハンドルを水平に"); false when
    // nothing changed.
    bool FlattenSelected();
    // The handles of the picked points that are Bezier keys, on the curves
    // shown, placed as plotted (while a handle is dragged, as it is now).
    std::vector<TangentHandle> TangentHandles();
    // The handle a left drag is moving; nothing otherwise.
    std::optional<TangentHandleRef> DraggedTangent() const;

    // Shows every frame of the Motion and every value of the curves shown
    // (with their handles), with a margin above and below them except in
    // the normalised view.
    void Fit();

    // The mouse, in panel pixels; shift: whether Shift is held. A press
    // outside the plot area, or while another drag goes on, starts nothing.
    void LeftDown(int x, int y, bool shift = false);
    void PanDown(int x, int y);
    void MouseMove(int x, int y, bool shift = false);
    // Ends a left drag: a handle moved changes its key's ease, points moved
    // change their keys (one undo step each), a box picks the points in it.
    void LeftUp();
    // Ends a pan; true when the mouse did not move since the press (a click).
    bool PanUp();
    void DoubleClick(int x, int y);
    // notches > 0 zoom in; values: the value axis about y, else the frames about x.
    void Wheel(int x, int y, int notches, bool values);

private:
    enum class Drag { None, Pan, Handle, Box, Keys, Tangent };
    // The curves a left drag previews, and what it started from.
    struct DragPreview {
        uint64_t changes;  // the session's changes at the press: any other cancels the drag
        int motion, part;
        PartCurves curves;   // as evaluated
        CurveScales scales;  // the curves' scales at the press, kept for the drag
        PartCurves plotted;
    };
    struct HandleDrag {
        EaseHandle handle;
        KeyInterpolation ease;  // as the mouse has it now
        KeyInterpolation pressed;
        double offsetX, offsetY;  // from the mouse to the handle's place at the press
    };
    struct TangentDrag {
        TangentHandleRef ref;
        double offsetX, offsetY;  // from the mouse to the handle's place at the press
        double keyValue;          // the key's value on the channel, unscaled
        MotionTrack track;        // as the mouse has it now
        bool edited = false;
    };
    struct KeyDrag {
        std::vector<CurveKeyPoint> pressed;  // the points picked at the press
        CurveKeyEditResult result;           // as the mouse has it now
        bool edited = false;                 // result differs from the track at the press
    };

    // The current Motion's length, 0 without one.
    int Length() const;
    // The frame nearest pixel x, within the Motion.
    int FrameUnder(int x) const;
    // Whether the preview still holds: nothing else changed the session,
    // nothing plays, the same Motion and Part are current.
    bool PreviewStillValid() const;
    // Whether a drag's preview still holds (PreviewStillValid); when it does
    // not, the drag ends and its preview goes.
    bool KeepPreview();
    // Starts a preview of the current curves as they are.
    void StartPreview();
    // The current Part's track in the current Motion as evaluated now.
    const MotionTrack& CurrentTrack() const;
    // The handles of evaluated curves, placed by the scales by.
    std::vector<EaseHandle> PlottedHandles(const PartCurves& evaluated, const CurveScales& by) const;
    void MoveHandle(int x, int y);
    // The key point whose plotted place lies nearest (x, y), within kHandleRadius.
    std::optional<CurveKeyPoint> PointAt(int x, int y);
    void MoveKeys(int x, int y, bool shift);
    void MoveTangent(int x, int y);
    // The picked tangent handle nearest (x, y), within kHandleRadius.
    std::optional<TangentHandle> TangentAt(int x, int y);
    // Adds the key points of the curves shown that lie within box.
    void PickInBox(const PixelRect& box);
    // Replaces the current track by track as one undo step named label and
    // shows the Part's pose at the current frame from it.
    void CommitTrack(const MotionTrack& track, const std::string& label);

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
    int moveX = 0, moveY = 0;  // where the mouse is in a left drag
    bool moved = false;        // the mouse went further than a click's wobble
    std::optional<DragPreview> preview;
    std::optional<HandleDrag> handleDrag;
    std::optional<KeyDrag> keyDrag;
    std::optional<TangentDrag> tangentDrag;
    std::vector<CurveKeyPoint> selection;
    int selectedMotion = -1, selectedPart = -1;
};

}  // namespace m3d
