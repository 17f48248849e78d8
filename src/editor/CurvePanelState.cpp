#include "editor/CurvePanelState.h"

#include "anim/MotionOperations.h"
#include "anim/BezierSlopes.h"
#include "anim/PoseEvaluation.h"
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

// A press that moves no further than this many pixels is a click.
constexpr int kClickWobble = 2;

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
    if (preview && PreviewStillValid()) return &preview->plotted;
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

const MotionTrack& CurvePanelState::CurrentTrack() const
{
    return TrackOf(session.GetScene().MotionAt(session.CurrentMotion()), session.CurrentPart());
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
    if (preview && PreviewStillValid()) return PlottedHandles(preview->curves, preview->scales);
    return PlottedHandles(curves, scales);
}

std::optional<EaseHandle> CurvePanelState::DraggedHandle()
{
    if (!handleDrag || !PreviewStillValid()) return std::nullopt;
    const EaseHandle& grabbed = handleDrag->handle;
    for (const EaseHandle& h : PlottedHandles(preview->curves, preview->scales))
        if (h.key == grabbed.key && h.which == grabbed.which && h.channel == grabbed.channel) return h;
    return std::nullopt;
}

const std::vector<CurveKeyPoint>& CurvePanelState::Selection()
{
    if (keyDrag && PreviewStillValid()) return keyDrag->result.points;
    if (session.CurrentMotion() != selectedMotion || session.CurrentPart() != selectedPart) {
        selection.clear();
        selectedMotion = session.CurrentMotion();
        selectedPart = session.CurrentPart();
    }
    if (!selection.empty() && Curves()) {
        const std::vector<KeyFrame>& keys = curves.keys;
        std::erase_if(selection, [&](const CurveKeyPoint& point) {
            return std::none_of(keys.begin(), keys.end(), [&](const KeyFrame& k) { return k.frame == point.frame; });
        });
    }
    return selection;
}

bool CurvePanelState::Selected(const CurveKeyPoint& point)
{
    const std::vector<CurveKeyPoint>& picked = Selection();
    return std::binary_search(picked.begin(), picked.end(), point);
}

std::optional<PixelRect> CurvePanelState::SelectionBox() const
{
    if (drag != Drag::Box || !moved) return std::nullopt;
    return PixelRect{std::min(pressX, moveX), std::min(pressY, moveY), std::max(pressX, moveX) + 1,
                     std::max(pressY, moveY) + 1};
}

std::optional<double> CurvePanelState::SelectedValue()
{
    const std::vector<CurveKeyPoint>& picked = Selection();
    if (picked.empty() || !Curves()) return std::nullopt;
    const PartCurves& shownCurves = preview && PreviewStillValid() ? preview->curves : curves;
    const double value = shownCurves.Value(picked.front().channel, picked.front().frame);
    for (const CurveKeyPoint& point : picked)
        if (std::fabs(shownCurves.Value(point.channel, point.frame) - value) > 1e-9) return std::nullopt;
    return value;
}

bool CurvePanelState::SetSelectedValue(double value)
{
    if (Dragging() || session.IsPlaying() || !std::isfinite(value)) return false;
    const std::vector<CurveKeyPoint> picked = Selection();
    if (picked.empty()) return false;
    const Motion& motion = session.GetScene().MotionAt(session.CurrentMotion());
    CurveKeyEdit edit;
    edit.typedValue = value;
    const CurveKeyEditResult result =
        EditCurveKeys(CurrentTrack(), curves, picked, edit, motion.length, LoopLengthOf(motion));
    if (result.track.SameKeys(CurrentTrack())) return false;
    CommitTrack(result.track, UiText("core", "キー値の変更"));
    return true;
}

bool CurvePanelState::SetSelectedInterpolation(const KeyInterpolation& interpolation)
{
    if (Dragging() || session.IsPlaying()) return false;
    const std::vector<CurveKeyPoint> picked = Selection();
    if (picked.empty()) return false;
    const int motion = session.CurrentMotion(), part = session.CurrentPart();
    DocumentEdit edit(session, EditorCommand::InterpolationLinear);  // every interpolation command's label
    edit.WatchTrack(motion, part);
    bool changed = false;
    for (size_t i = 0; i < picked.size(); ++i)
        if (i == 0 || picked[i].frame != picked[i - 1].frame)
            changed = SetKeyInterpolation(session.GetScene(), motion, part, picked[i].frame, interpolation) || changed;
    if (changed) session.Events().Publish(MotionKeysChanged{motion});
    return changed;
}

bool CurvePanelState::FlattenSelected()
{
    if (Dragging() || session.IsPlaying()) return false;
    const std::vector<CurveKeyPoint> picked = Selection();
    if (picked.empty()) return false;
    const Motion& motion = session.GetScene().MotionAt(session.CurrentMotion());
    const MotionTrack flat = TrackWithFlatHandles(CurrentTrack(), picked, LoopLengthOf(motion));
    if (flat.SameKeys(CurrentTrack())) return false;
    CommitTrack(flat, UiText("core", "ハンドルを水平に"));
    return true;
}

std::vector<TangentHandle> CurvePanelState::TangentHandles()
{
    std::vector<TangentHandle> handles;
    if (!Curves()) return handles;
    const bool previewing = preview && PreviewStillValid();
    const MotionTrack& track = tangentDrag && previewing ? tangentDrag->track : CurrentTrack();
    const PartCurves& evaluated = previewing ? preview->curves : curves;
    const CurveScales& by = previewing ? preview->scales : scales;
    const int32_t loopLength = LoopLengthOf(session.GetScene().MotionAt(session.CurrentMotion()));
    for (const CurveKeyPoint& point : Selection()) {
        const size_t c = size_t(point.channel);
        const int k = track.FindKey(point.frame);
        if (!shown[c] || k < 0 || track.keys[size_t(k)].interpolation.Kind() != InterpolationKind::Bezier) continue;
        const BezierHandles h = ShownHandles(track, size_t(k), loopLength);
        const double value = evaluated.Value(point.channel, point.frame);
        for (const int side : {-1, 1}) {
            const double frames = side < 0 ? h.inFrames[c] : h.outFrames[c];
            const double offset = side < 0 ? h.inValues[c] : h.outValues[c];
            handles.push_back({{point.frame, point.channel, side},
                               point.frame + frames,
                               by[c].Plotted(value + offset),
                               double(point.frame),
                               by[c].Plotted(value)});
        }
    }
    return handles;
}

std::optional<TangentHandleRef> CurvePanelState::DraggedTangent() const
{
    if (!tangentDrag) return std::nullopt;
    return tangentDrag->ref;
}

std::optional<TangentHandle> CurvePanelState::TangentAt(int x, int y)
{
    std::optional<TangentHandle> nearest;
    double best = kHandleRadius * kHandleRadius;
    for (const TangentHandle& h : TangentHandles()) {
        const double dx = plot.XOf(h.frame) - x, dy = plot.YOf(h.value) - y;
        if (dx * dx + dy * dy > best) continue;
        best = dx * dx + dy * dy;
        nearest = h;
    }
    return nearest;
}

void CurvePanelState::CommitTrack(const MotionTrack& track, const std::string& label)
{
    const int motion = session.CurrentMotion(), part = session.CurrentPart();
    Scene& scene = session.GetScene();
    DocumentEdit edit(session, label);
    edit.WatchTrack(motion, part);
    scene.MutableMotions()[size_t(motion)].tracks[size_t(part)] = track;
    // The Part shows what its keys now give at the current frame.
    const TrackPose pose = PartPoseAt(scene, scene.MotionAt(motion), part, session.CurrentFrame());
    Part& shownPart = *scene.Parts()[size_t(part)];
    shownPart.localMatrix = pose.localMatrix;
    shownPart.localPosition = pose.localPosition;
    scene.UpdateHierarchy(part);
    session.Events().Publish(MotionKeysChanged{motion});
    session.ShowCurrentTransform();
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

bool CurvePanelState::PreviewStillValid() const
{
    return preview && !session.IsPlaying() && watch.Changes() == preview->changes &&
           session.CurrentMotion() == preview->motion && session.CurrentPart() == preview->part;
}

bool CurvePanelState::KeepPreview()
{
    if (PreviewStillValid()) return true;
    handleDrag.reset();
    keyDrag.reset();
    tangentDrag.reset();
    preview.reset();
    drag = Drag::None;
    return false;
}

void CurvePanelState::StartPreview()
{
    preview = DragPreview{watch.Changes(), session.CurrentMotion(), session.CurrentPart(), curves, scales, plotted};
}

int CurvePanelState::FrameUnder(int x) const { return std::clamp(int(std::lround(plot.FrameAtX(x))), 0, Length()); }

std::optional<CurveKeyPoint> CurvePanelState::PointAt(int x, int y)
{
    const PartCurves* shownCurves = Curves();
    if (!shownCurves) return std::nullopt;
    std::optional<CurveKeyPoint> nearest;
    double best = kHandleRadius * kHandleRadius;
    for (const KeyFrame& key : shownCurves->keys) {
        for (int c = 0; c < kCurveChannelCount; ++c) {
            if (!shown[size_t(c)]) continue;
            const double dx = plot.XOf(key.frame) - x;
            const double dy = plot.YOf(shownCurves->Value(CurveChannel(c), key.frame)) - y;
            if (dx * dx + dy * dy > best) continue;
            best = dx * dx + dy * dy;
            nearest = CurveKeyPoint{key.frame, CurveChannel(c)};
        }
    }
    return nearest;
}

void CurvePanelState::LeftDown(int x, int y, bool shift)
{
    if (Dragging() || session.IsPlaying() || !plot.Area().Contains(x, y)) return;
    if (!Curves()) return;
    pressX = moveX = x;
    pressY = moveY = y;
    moved = false;
    if (const std::optional<EaseHandle> handle = HandleAt(Handles(), plot, x, y, kHandleRadius)) {
        const KeyInterpolation& ease = curves.keys[handle->key].interpolation;
        StartPreview();
        handleDrag = HandleDrag{*handle, ease, ease, plot.XOf(handle->frame) - x, plot.YOf(handle->value) - y};
        drag = Drag::Handle;
        return;
    }
    Selection();  // forgets the points of another Motion or Part
    if (const std::optional<TangentHandle> tangent = TangentAt(x, y)) {
        StartPreview();
        tangentDrag = TangentDrag{tangent->ref,
                                  plot.XOf(tangent->frame) - x,
                                  plot.YOf(tangent->value) - y,
                                  curves.Value(tangent->ref.channel, tangent->ref.frame),
                                  CurrentTrack(),
                                  false};
        drag = Drag::Tangent;
        return;
    }
    if (const std::optional<CurveKeyPoint> point = PointAt(x, y)) {
        const auto at = std::lower_bound(selection.begin(), selection.end(), *point);
        const bool picked = at != selection.end() && *at == *point;
        if (shift && picked) {
            selection.erase(at);
            return;
        }
        if (!picked) {
            if (!shift) selection.clear();
            selection.insert(std::lower_bound(selection.begin(), selection.end(), *point), *point);
        }
        StartPreview();
        keyDrag = KeyDrag{selection, {CurrentTrack(), selection}, false};
        drag = Drag::Keys;
        return;
    }
    if (!shift) selection.clear();
    drag = Drag::Box;
}

void CurvePanelState::PanDown(int x, int y)
{
    if (Dragging() || !plot.Area().Contains(x, y)) return;
    drag = Drag::Pan;
    pressX = x;
    pressY = y;
    moved = false;
    pressPlot = plot;
}

void CurvePanelState::MouseMove(int x, int y, bool shift)
{
    moveX = x;
    moveY = y;
    moved = moved || std::abs(x - pressX) > kClickWobble || std::abs(y - pressY) > kClickWobble;
    switch (drag) {
    case Drag::None:
    case Drag::Box: return;
    case Drag::Pan: plot.PanFrom(pressPlot, x - pressX, y - pressY, Length()); return;
    case Drag::Handle: MoveHandle(x, y); return;
    case Drag::Keys: MoveKeys(x, y, shift); return;
    case Drag::Tangent: MoveTangent(x, y); return;
    }
}

void CurvePanelState::MoveHandle(int x, int y)
{
    if (!KeepPreview()) return;
    HandleDrag& d = *handleDrag;
    const KeyInterpolation ease = EaseWithHandleAt(d.ease, d.handle.which, d.handle.box, plot.FrameAtX(x + d.offsetX),
                                                   plot.ValueAtY(y + d.offsetY));
    if (ease == d.ease) return;
    d.ease = ease;
    const Motion& motion = session.GetScene().MotionAt(preview->motion);
    MotionTrack track = CurrentTrack();
    // The curves' keys are the track's first ones.
    track.keys[d.handle.key].interpolation = ease;
    preview->curves =
        SampleTrackCurves(track, motion.length, PresentPose(session.GetScene(), preview->part), LoopLengthOf(motion));
    preview->plotted = ScaledCurves(preview->curves, preview->scales);
}

void CurvePanelState::MoveKeys(int x, int y, bool shift)
{
    if (!KeepPreview()) return;
    CurveKeyEdit edit;
    if (moved) {
        const bool across = std::abs(x - pressX) >= std::abs(y - pressY);
        if (!shift || across) edit.frameOffset = int(std::lround(plot.FrameAtX(x) - plot.FrameAtX(pressX)));
        if (!shift || !across) {
            const double plottedChange = plot.ValueAtY(y) - plot.ValueAtY(pressY);
            for (int c = 0; c < kCurveChannelCount; ++c)
                edit.valueOffsets[size_t(c)] = plottedChange * preview->scales[size_t(c)].span;
        }
    }
    const Motion& motion = session.GetScene().MotionAt(preview->motion);
    const MotionTrack& track = CurrentTrack();
    KeyDrag& d = *keyDrag;
    d.result = EditCurveKeys(track, curves, d.pressed, edit, motion.length, LoopLengthOf(motion));
    d.edited = !d.result.track.SameKeys(track);
    preview->curves = SampleTrackCurves(d.result.track, motion.length, PresentPose(session.GetScene(), preview->part),
                                        LoopLengthOf(motion));
    preview->plotted = ScaledCurves(preview->curves, preview->scales);
}

void CurvePanelState::MoveTangent(int x, int y)
{
    if (!KeepPreview()) return;
    TangentDrag& d = *tangentDrag;
    const CurveScale& scale = preview->scales[size_t(d.ref.channel)];
    const double frames = plot.FrameAtX(x + d.offsetX) - d.ref.frame;
    const double value = plot.ValueAtY(y + d.offsetY) * scale.span + scale.low - d.keyValue;
    const Motion& motion = session.GetScene().MotionAt(preview->motion);
    const MotionTrack& track = CurrentTrack();
    d.track = TrackWithHandleAt(track, d.ref, frames, value, LoopLengthOf(motion));
    d.edited = !d.track.SameKeys(track);
    preview->curves =
        SampleTrackCurves(d.track, motion.length, PresentPose(session.GetScene(), preview->part), LoopLengthOf(motion));
    preview->plotted = ScaledCurves(preview->curves, preview->scales);
}

void CurvePanelState::PickInBox(const PixelRect& box)
{
    const PartCurves* shownCurves = Curves();
    if (!shownCurves) return;
    for (const KeyFrame& key : shownCurves->keys) {
        for (int c = 0; c < kCurveChannelCount; ++c) {
            if (!shown[size_t(c)]) continue;
            const double px = plot.XOf(key.frame), py = plot.YOf(shownCurves->Value(CurveChannel(c), key.frame));
            if (px < box.left || px >= box.right || py < box.top || py >= box.bottom) continue;
            const CurveKeyPoint point{key.frame, CurveChannel(c)};
            const auto at = std::lower_bound(selection.begin(), selection.end(), point);
            if (at == selection.end() || !(*at == point)) selection.insert(at, point);
        }
    }
}

void CurvePanelState::LeftUp()
{
    if (drag == Drag::Pan) return;
    const Drag ended = drag;
    const std::optional<PixelRect> box = SelectionBox();
    drag = Drag::None;
    const bool valid = PreviewStillValid();
    const std::optional<HandleDrag> handle = std::move(handleDrag);
    const std::optional<KeyDrag> keys = std::move(keyDrag);
    const std::optional<TangentDrag> tangent = std::move(tangentDrag);
    handleDrag.reset();
    keyDrag.reset();
    tangentDrag.reset();
    const std::optional<DragPreview> previewed = std::move(preview);
    preview.reset();
    if (ended == Drag::Box) {
        if (box)
            PickInBox(*box);
        else
            GoToFrameCommand(session, FrameUnder(pressX));
        return;
    }
    if (!valid) return;
    if (handle && handle->ease != handle->pressed) {
        DocumentEdit edit(session, EditorCommand::InterpolationLinear);  // every interpolation command's label
        edit.WatchTrack(previewed->motion, previewed->part);
        if (SetKeyInterpolation(session.GetScene(), previewed->motion, previewed->part,
                                previewed->curves.keys[handle->handle.key].frame, handle->ease))
            session.Events().Publish(MotionKeysChanged{previewed->motion});
    }
    if (tangent && tangent->edited) CommitTrack(tangent->track, UiText("core", "ハンドルの移動"));
    if (keys && keys->edited) {
        const bool retimed = keys->result.points != keys->pressed;
        CommitTrack(keys->result.track, UiText("core", retimed ? "キーの移動" : "キー値の変更"));
        selection = keys->result.points;
    }
}

bool CurvePanelState::PanUp()
{
    if (drag != Drag::Pan) return false;
    drag = Drag::None;
    return !moved;
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
