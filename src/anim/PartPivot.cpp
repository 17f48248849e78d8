#include "anim/PartPivot.h"

#include "anim/PoseEvaluation.h"
#include "scene/PoseComposition.h"
#include "scene/Scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace m3d {

namespace {

// How far a re-expressed track may stray from the placement it must keep,
// relative to the size of the position (float keeps about 7 digits).
constexpr float kPlacementTolerance = 1e-5f;

bool Finite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool SamePosition(Vec3 a, Vec3 b)
{
    const float scale = std::max({1.0f, std::fabs(b.x), std::fabs(b.y), std::fabs(b.z)});
    const Vec3 d = a - b;
    return std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)}) <= kPlacementTolerance * scale;
}

// The track of a Part whose origin moves by offset (in its own coordinates):
// every key's position moves by the offset turned as that key turns; then,
// where the track between keys no longer carries the offset point where the
// old one did, keys of the old rotation and the moved position are added.
MotionTrack MovedOrigin(const MotionTrack& track, Vec3 offset, int lastFrame)
{
    MotionTrack moved = track;
    for (KeyFrame& key : moved.keys)
        key.matrix.SetTranslation(key.matrix.Translation() + TransformNormal(offset, key.matrix));
    if (track.keys.empty()) return moved;
    lastFrame = std::max(lastFrame, track.keys.back().frame);
    // The placement each frame must keep.
    std::vector<TrackPose> wanted(size_t(lastFrame) + 1);
    TrackSampler sampler(track);
    for (int frame = 0; frame <= lastFrame; ++frame) {
        TrackPose& pose = wanted[size_t(frame)];
        sampler.Sample(frame, pose);
        pose.localPosition = pose.localPosition + TransformNormal(offset, pose.localMatrix);
    }
    // A key added changes the curve of a smooth neighbour: check again until
    // every frame holds (at worst every frame has its key).
    for (bool added = true; added;) {
        added = false;
        std::vector<KeyFrame> extra;
        TrackSampler check(moved);
        for (int frame = 0; frame <= lastFrame; ++frame) {
            TrackPose pose;
            check.Sample(frame, pose);
            if (SamePosition(pose.localPosition, wanted[size_t(frame)].localPosition) || moved.FindKey(frame) >= 0)
                continue;
            extra.emplace_back(frame,
                               KeyMatrixOf(wanted[size_t(frame)].localMatrix, wanted[size_t(frame)].localPosition));
        }
        if (extra.empty()) break;
        std::vector<KeyFrame> merged(moved.keys.size() + extra.size());
        std::merge(moved.keys.begin(), moved.keys.end(), extra.begin(), extra.end(), merged.begin(),
                   [](const KeyFrame& a, const KeyFrame& b) { return a.frame < b.frame; });
        moved.keys = std::move(merged);
        added = true;
    }
    return moved;
}

bool BoxOf(const CMesh& mesh, Vec3& low, Vec3& high)
{
    const std::vector<Vec3> positions = mesh.GetVertexPositions();
    if (positions.empty()) return false;
    low = high = positions.front();
    for (const Vec3& p : positions) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return true;
}

}  // namespace

std::optional<Vec3> PivotPoint(const Scene& scene, int part, PivotPlace place)
{
    const Part* p = scene.PartAt(part);
    if (!p) return std::nullopt;
    if (place == PivotPlace::WorldOrigin)
        return TransformPoint({0, 0, 0}, InverseOrIdentity(scene.WorldMatrixOf(part)));
    Vec3 low, high;
    if (!p->mesh || !BoxOf(*p->mesh, low, high)) return std::nullopt;
    const Vec3 centre = (low + high) * 0.5f;
    return place == PivotPlace::BoxCentre ? centre : Vec3{centre.x, low.y, centre.z};
}

bool PivotKeepsShape(const Scene& scene, int part, Vec3 point)
{
    const Part* p = scene.PartAt(part);
    if (!p || !Finite(point)) return false;
    // The points of the Part's own space, which the move shifts by -point.
    std::vector<Vec3> points = p->mesh ? p->mesh->GetVertexPositions() : std::vector<Vec3>{};
    for (int i = part + 1; i < scene.PartCount(); ++i)
        if (scene.Parts()[i]->parentIndex == part) points.push_back(scene.Parts()[i]->localPosition);
    if (points.empty()) return true;
    Vec3 low = points.front(), high = points.front();
    for (const Vec3& q : points) {
        low = {std::min(low.x, q.x), std::min(low.y, q.y), std::min(low.z, q.z)};
        high = {std::max(high.x, q.x), std::max(high.y, q.y), std::max(high.z, q.z)};
    }
    const float size = Length(high - low);
    if (size == 0.0f) return true;  // a point has no shape to lose
    const float tolerance = 1e-3f * size;
    return std::all_of(points.begin(), points.end(), [&](Vec3 q) {
        const Vec3 back = (q - point) + point;
        return Finite(back) && Length(back - q) <= tolerance;
    });
}

bool MovePartPivot(Scene& scene, int part, Vec3 point)
{
    Part* moving = scene.PartAt(part);
    if (!moving || !PivotKeepsShape(scene, part, point)) return false;
    if (moving->mesh) {
        std::vector<Vec3> positions = moving->mesh->GetVertexPositions();
        for (Vec3& p : positions) p = p - point;
        moving->mesh->SetVertexPositions(positions);
    }
    moving->localPosition = moving->localPosition + TransformNormal(point, moving->localMatrix);
    std::vector<int> children;
    for (int i = part + 1; i < scene.PartCount(); ++i)
        if (scene.Parts()[i]->parentIndex == part) children.push_back(i);
    for (int child : children) scene.Parts()[child]->localPosition = scene.Parts()[child]->localPosition - point;
    for (int m = 0; m < scene.MotionCount(); ++m) {
        Motion& motion = *scene.EditMotion(m);
        if (part >= static_cast<int>(motion.tracks.size())) continue;
        motion.tracks[size_t(part)] = MovedOrigin(motion.tracks[size_t(part)], point, motion.length);
        // A child's keys are positions in this Part's space, whose origin moved by point.
        for (int child : children)
            if (child < static_cast<int>(motion.tracks.size()))
                for (KeyFrame& key : motion.tracks[size_t(child)].keys)
                    key.matrix.SetTranslation(key.matrix.Translation() - point);
    }
    scene.UpdateHierarchy(0);
    return true;
}

bool ResizePart(Scene& scene, int part, float factor)
{
    Part* resized = scene.PartAt(part);
    if (!resized || !(factor >= kMinPartScale && factor <= kMaxPartScale)) return false;
    if (!resized->mesh) return true;
    std::vector<Vec3> positions = resized->mesh->GetVertexPositions();
    for (Vec3& p : positions) {
        p = p * factor;
        if (!Finite(p)) return false;
    }
    resized->mesh->SetVertexPositions(positions);
    scene.UpdateHierarchy(0);
    return true;
}

}  // namespace m3d
