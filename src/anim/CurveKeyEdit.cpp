#include "anim/CurveKeyEdit.h"

#include "anim/BezierSlopes.h"
#include "anim/KeyMove.h"
#include "view/RotationAngles.h"

#include <algorithm>
#include <climits>

namespace m3d {

namespace {

// key's matrix with the picked channels of its values changed as edit says;
// false when no value changes.
bool EditKeyValues(KeyFrame& key, const PartCurves& curves, const std::vector<CurveKeyPoint>& points,
                   const CurveKeyEdit& edit)
{
    double values[kCurveChannelCount];
    for (int c = 0; c < kCurveChannelCount; ++c) values[c] = curves.Value(CurveChannel(c), key.frame);
    bool turned = false, moved = false;
    for (int c = 0; c < kCurveChannelCount; ++c) {
        if (!std::binary_search(points.begin(), points.end(), CurveKeyPoint{key.frame, CurveChannel(c)})) continue;
        const double value = edit.typedValue ? *edit.typedValue : values[c] + edit.valueOffsets[size_t(c)];
        if (value == values[c]) continue;
        values[c] = value;
        (c < 3 ? turned : moved) = true;
    }
    if (!turned && !moved) return false;
    const Vec3 position = moved ? Vec3{float(values[3]), float(values[4]), float(values[5])} : key.matrix.Translation();
    if (turned) key.matrix = RotationFromAngles({float(values[0]), float(values[1]), float(values[2])});
    key.matrix.SetTranslation(position);
    return true;
}

}  // namespace

CurveKeyEditResult EditCurveKeys(const MotionTrack& track, const PartCurves& curves,
                                 const std::vector<CurveKeyPoint>& points, const CurveKeyEdit& edit, int length,
                                 int32_t loopLength)
{
    CurveKeyEditResult result{track, {}};
    std::vector<int32_t> frames;  // of the keys picked
    int endEdited = -1;           // the loop's end whose key changed, frame-0 first
    for (KeyFrame& key : result.track.keys) {
        if (key.frame > curves.length) break;
        const auto first =
            std::lower_bound(points.begin(), points.end(), CurveKeyPoint{key.frame, CurveChannel::Heading});
        if (first == points.end() || first->frame != key.frame) continue;
        frames.push_back(key.frame);
        if (EditKeyValues(key, curves, points, edit) && loopLength > 0 &&
            (key.frame == 0 || (key.frame == loopLength && endEdited < 0)))
            endEdited = key.frame;
    }
    if (endEdited >= 0) {
        const KeyFrame& edited = result.track.keys[size_t(result.track.FindKey(endEdited))];
        result.track.SetKeyMatrix(endEdited == 0 ? loopLength : 0, edited.matrix, edited.interpolation);
    }

    // The keys that move: those picked past frame 0, short of a loop's end.
    std::vector<int32_t> moving;
    for (const int32_t frame : frames)
        if (frame >= 1 && (loopLength <= 0 || frame != loopLength)) moving.push_back(frame);
    int offset = 0;
    if (!moving.empty()) {
        const int limit = loopLength > 0 ? loopLength - 1 : length;
        offset = OffsetWithin(moving.front(), moving.back(), limit, edit.frameOffset);
    }
    if (offset != 0) result.track = TrackWithFramesMoved(result.track, moving, offset);
    for (const CurveKeyPoint& point : points) {
        if (std::find(frames.begin(), frames.end(), point.frame) == frames.end()) continue;
        const bool moves = std::binary_search(moving.begin(), moving.end(), point.frame);
        result.points.push_back({point.frame + (moves ? offset : 0), point.channel});
    }
    std::sort(result.points.begin(), result.points.end());
    result.points.erase(std::unique(result.points.begin(), result.points.end()), result.points.end());
    return result;
}

namespace {

bool OwnsHandles(const KeyInterpolation& interpolation)
{
    return interpolation.Kind() == InterpolationKind::Bezier && HasOwnHandles(interpolation.Tangents());
}

// Gives key k handles of its own if it has none: aligned where it worked
// them out smoothly, free for a corner or a key that was no Bezier key.
void OwnHandles(MotionTrack& track, size_t k, int32_t loopLength)
{
    const KeyInterpolation& was = track.keys[k].interpolation;
    if (OwnsHandles(was)) return;
    const bool smooth = was.Kind() == InterpolationKind::Bezier && was.Tangents() != TangentMode::Vector;
    GiveKeyInterpolation(track, k, KeyInterpolation::Bezier(smooth ? TangentMode::Aligned : TangentMode::Free),
                         loopLength);
}

}  // namespace

void GiveKeyInterpolation(MotionTrack& track, size_t k, const KeyInterpolation& interpolation, int32_t loopLength)
{
    KeyFrame& key = track.keys[k];
    if (OwnsHandles(interpolation) && !OwnsHandles(key.interpolation))
        key.handles = ShownHandles(track, k, loopLength);
    else if (!OwnsHandles(interpolation))
        key.handles = {};
    key.interpolation = interpolation;
}

MotionTrack TrackWithHandleAt(const MotionTrack& track, const TangentHandleRef& handle, double frames, double value,
                              int32_t loopLength)
{
    MotionTrack result = track;
    const int k = result.FindKey(handle.frame);
    if (k < 0) return result;
    OwnHandles(result, size_t(k), loopLength);
    KeyFrame& key = result.keys[size_t(k)];
    BezierHandles& h = key.handles;
    const size_t c = size_t(handle.channel);
    const bool in = handle.side < 0;
    frames = in ? std::min(frames, 0.0) : std::max(frames, 0.0);
    (in ? h.inFrames : h.outFrames)[c] = float(frames);
    (in ? h.inValues : h.outValues)[c] = float(value);
    if (key.interpolation.Tangents() == TangentMode::Aligned) {
        float& otherFrames = (in ? h.outFrames : h.inFrames)[c];
        float& otherValue = (in ? h.outValues : h.inValues)[c];
        // The other side points the opposite way along the same line.
        if (frames != 0.0) otherValue = float(value * (double(otherFrames) / frames));
    }
    return result;
}

MotionTrack TrackWithFlatHandles(const MotionTrack& track, const std::vector<CurveKeyPoint>& points, int32_t loopLength)
{
    MotionTrack result = track;
    for (const CurveKeyPoint& point : points) {
        const int k = result.FindKey(point.frame);
        if (k < 0) continue;
        OwnHandles(result, size_t(k), loopLength);
        BezierHandles& h = result.keys[size_t(k)].handles;
        h.inValues[size_t(point.channel)] = 0.0f;
        h.outValues[size_t(point.channel)] = 0.0f;
    }
    return result;
}

}  // namespace m3d
