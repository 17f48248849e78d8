#include "anim/CurveKeyEdit.h"

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

}  // namespace m3d
