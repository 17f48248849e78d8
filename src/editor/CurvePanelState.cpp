#include "editor/CurvePanelState.h"

#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/FrameCommands.h"
#include "editor/history/DocumentEdit.h"
#include "text/UiText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace m3d {

namespace {

// The track of part in motion, or an empty one where the Motion has none.
const MotionTrack& TrackOf(const Motion& motion, int part)
{
    static const MotionTrack kNoKeys;
    return part < int(motion.tracks.size()) ? motion.tracks[size_t(part)] : kNoKeys;
}

TrackPose PresentPose(const Scene& scene, int part)
{
    const Part& p = *scene.Parts()[size_t(part)];
    return {p.localMatrix, p.localPosition};
}

}  // namespace

CurveStyle CurveStyleOf(CurveChannel channel)
{
    switch (channel) {
    case CurveChannel::Heading: return {"H", 0xFFD83A34u, false};
    case CurveChannel::Pitch: return {"P", 0xFF2E9A3Cu, false};
    case CurveChannel::Bank: return {"B", 0xFF2F6FD8u, false};
    case CurveChannel::X: return {"x", 0xFFE8890Cu, true};
    case CurveChannel::Y: return {"y", 0xFF8E3FB0u, true};
    case CurveChannel::Z: return {"z", 0xFF13A3B5u, true};
    }
    return {"", 0xFF000000u, false};
}

CurvePanelState::CurvePanelState(EditorSession& owner) : session(owner), watch(owner.Events()) {}

int CurvePanelState::Length() const
{
    const int motion = session.CurrentMotion();
    return motion < 0 ? 0 : session.GetScene().MotionAt(motion).length;
}

std::string CurvePanelState::EmptyText() const
{
    if (session.CurrentMotion() < 0) return UiText("core", "モーションがありません");
    if (session.CurrentPart() < 0) return UiText("core", "パーツが選択されていません");
    return {};
}

const PartCurves* CurvePanelState::Curves()
{
    const int motion = session.CurrentMotion(), part = session.CurrentPart();
    if (motion < 0 || part < 0) return nullptr;
    if (handleDrag && HandleDragStillValid()) return &handleDrag->plottedPreview;
    if (motion != sampledMotion || part != sampledPart || !watch.Current(stamp)) {
        const Scene& scene = session.GetScene();
        const Motion& m = scene.MotionAt(motion);
        curves = SampleTrackCurves(TrackOf(m, part), m.length, PresentPose(scene, part), LoopLengthOf(m));
        stamp = watch.Stamp(curves.followsPose);
        sampledMotion = motion;
        sampledPart = part;
        scales = normalised ? NormalisingScales(curves) : kUnscaledCurves;
        plotted = ScaledCurves(curves, scales);
    }
    if (motion != fittedMotion || part != fittedPart) Fit();
    return &plotted;
}

void CurvePanelState::SetNormalised(bool on)
{
    if (on == normalised) return;
    normalised = on;
    sampledMotion = -1;  // scaled again when next asked for
    Fit();
}

std::vector<EaseHandle> CurvePanelState::PlottedHandles(const PartCurves& evaluated, const CurveScales& by) const
{
    return ScaledHandles(EaseHandlesOf(evaluated, shown), by);
}

std::vector<EaseHandle> CurvePanelState::Handles()
{
    if (!Curves()) return {};
    if (handleDrag && HandleDragStillValid()) return PlottedHandles(handleDrag->preview, handleDrag->scales);
    return PlottedHandles(curves, scales);
}

std::optional<EaseHandle> CurvePanelState::DraggedHandle()
{
    if (!handleDrag || !HandleDragStillValid()) return std::nullopt;
    const EaseHandle& grabbed = handleDrag->handle;
    for (const EaseHandle& h : PlottedHandles(handleDrag->preview, handleDrag->scales))
        if (h.key == grabbed.key && h.which == grabbed.which && h.channel == grabbed.channel) return h;
    return std::nullopt;
}

void CurvePanelState::Fit()
{
    fittedMotion = session.CurrentMotion();
    fittedPart = session.CurrentPart();
    const PartCurves* shownCurves = Curves();
    double low = std::numeric_limits<double>::infinity(), high = -low;
    if (shownCurves) {
        for (int c = 0; c < kCurveChannelCount; ++c) {
            if (!shown[size_t(c)]) continue;
            const auto [lo, hi] =
                std::minmax_element(shownCurves->values[size_t(c)].begin(), shownCurves->values[size_t(c)].end());
            low = std::min(low, *lo);
            high = std::max(high, *hi);
        }
        for (const EaseHandle& h : Handles()) {
            low = std::min(low, h.value);
            high = std::max(high, h.value);
        }
    }
    if (low > high) low = high = 0.0;
    plot.Fit(Length(), low, high, !normalised);
}

bool CurvePanelState::HandleDragStillValid() const
{
    return handleDrag && !session.IsPlaying() && watch.Changes() == handleDrag->changes &&
           session.CurrentMotion() == handleDrag->motion && session.CurrentPart() == handleDrag->part;
}

int CurvePanelState::FrameUnder(int x) const { return std::clamp(int(std::lround(plot.FrameAtX(x))), 0, Length()); }

void CurvePanelState::LeftDown(int x, int y)
{
    if (Dragging() || session.IsPlaying() || !plot.Area().Contains(x, y)) return;
    if (!Curves()) return;
    if (const std::optional<EaseHandle> handle = HandleAt(Handles(), plot, x, y, kHandleRadius)) {
        const KeyInterpolation& ease = curves.keys[handle->key].interpolation;
        handleDrag = HandleDrag{*handle,
                                ease,
                                ease,
                                watch.Changes(),
                                session.CurrentMotion(),
                                session.CurrentPart(),
                                plot.XOf(handle->frame) - x,
                                plot.YOf(handle->value) - y,
                                curves,
                                scales,
                                plotted};
        drag = Drag::Handle;
        return;
    }
    drag = Drag::Frames;
    GoToFrameCommand(session, FrameUnder(x));
}

void CurvePanelState::PanDown(int x, int y)
{
    if (Dragging() || !plot.Area().Contains(x, y)) return;
    drag = Drag::Pan;
    pressX = x;
    pressY = y;
    pressPlot = plot;
}

void CurvePanelState::MouseMove(int x, int y)
{
    switch (drag) {
    case Drag::None: return;
    case Drag::Frames:
        if (const int frame = FrameUnder(x); frame != session.CurrentFrame()) GoToFrameCommand(session, frame);
        return;
    case Drag::Pan: plot.PanFrom(pressPlot, x - pressX, y - pressY, Length()); return;
    case Drag::Handle: MoveHandle(x, y); return;
    }
}

void CurvePanelState::MoveHandle(int x, int y)
{
    if (!HandleDragStillValid()) {
        handleDrag.reset();
        drag = Drag::None;
        return;
    }
    HandleDrag& d = *handleDrag;
    const KeyInterpolation ease = EaseWithHandleAt(d.ease, d.handle.which, d.handle.box, plot.FrameAtX(x + d.offsetX),
                                                   plot.ValueAtY(y + d.offsetY));
    if (ease == d.ease) return;
    d.ease = ease;
    const Scene& scene = session.GetScene();
    MotionTrack track = TrackOf(scene.MotionAt(d.motion), d.part);
    // The curves' keys are the track's first ones.
    track.keys[d.handle.key].interpolation = ease;
    d.preview = SampleTrackCurves(track, scene.MotionAt(d.motion).length, PresentPose(scene, d.part),
                                  LoopLengthOf(scene.MotionAt(d.motion)));
    d.plottedPreview = ScaledCurves(d.preview, d.scales);
}

void CurvePanelState::LeftUp()
{
    if (drag == Drag::Pan) return;
    drag = Drag::None;
    if (!handleDrag) return;
    const bool valid = HandleDragStillValid();
    const HandleDrag d = std::move(*handleDrag);
    handleDrag.reset();
    if (!valid || d.ease == d.pressed) return;
    DocumentEdit edit(session, EditorCommand::InterpolationLinear);  // every interpolation command's label
    edit.WatchTrack(d.motion, d.part);
    if (SetKeyInterpolation(session.GetScene(), d.motion, d.part, d.preview.keys[d.handle.key].frame, d.ease))
        session.Events().Publish(MotionKeysChanged{d.motion});
}

void CurvePanelState::PanUp()
{
    if (drag == Drag::Pan) drag = Drag::None;
}

void CurvePanelState::DoubleClick(int x, int y)
{
    if (plot.Area().Contains(x, y)) Fit();
}

void CurvePanelState::Wheel(int x, int y, int notches, bool values)
{
    if (values)
        plot.ZoomValues(y, notches);
    else
        plot.ZoomFrames(x, notches, Length());
}

}  // namespace m3d
