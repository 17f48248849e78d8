#include "anim/PartReparenting.h"

#include "anim/PoseEvaluation.h"
#include "scene/Scene.h"

#include <algorithm>

namespace m3d {

namespace {

// Part part and its ancestors up to, not including, stop (-1: all of them), nearest first.
std::vector<int> ChainUpTo(const Scene& scene, int part, int stop)
{
    std::vector<int> chain;
    for (int at = part; at >= 0 && at != stop; at = scene.Parts()[at]->parentIndex) chain.push_back(at);
    return chain;
}

// The lowest Part that is (or is an ancestor of) both a and b; -1 for none.
int CommonAncestor(const Scene& scene, int a, int b)
{
    const std::vector<int> aUp = ChainUpTo(scene, a, -1);
    for (int at = b; at >= 0; at = scene.Parts()[at]->parentIndex)
        if (std::find(aUp.begin(), aUp.end(), at) != aUp.end()) return at;
    return -1;
}

// a * b for matrices whose fourth column is (0, 0, 0, 1), as a rotation with
// a translation row has: the products of that column are left out.
Matrix4 AffineProduct(const Matrix4& a, const Matrix4& b)
{
    Matrix4 product;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            product.m[r][c] =
                a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] + (r == 3 ? b.m[3][c] : 0.0f);
    return product;
}

// The product of a chain's local transforms (a point of the first Part's
// space into the space of the last one's parent) at frames that never go down.
class ChainSampler {
public:
    ChainSampler(const Scene& scene, const Motion& motion, const std::vector<int>& chain)
    {
        static const MotionTrack kNoKeys;
        for (int link : chain) {
            const Part& part = *scene.Parts()[size_t(link)];
            const bool tracked = link < static_cast<int>(motion.tracks.size());
            links.push_back({TrackSampler(tracked ? motion.tracks[size_t(link)] : kNoKeys),
                             TrackPose{part.localMatrix, part.localPosition}});
        }
    }
    Matrix4 At(int frame)
    {
        Matrix4 product;
        for (Link& link : links) {
            // As PartPoseAt: a Part without keys keeps its present pose.
            TrackPose pose = link.present;
            link.sampler.Sample(frame, pose);
            product = AffineProduct(product, KeyMatrixOf(pose.localMatrix, pose.localPosition));
        }
        return product;
    }

private:
    struct Link {
        TrackSampler sampler;
        TrackPose present;
    };
    std::vector<Link> links;
};

// The inverse of a rotation with a translation row: the transposed rotation,
// and the translation taken back through it.
Matrix4 RigidInverse(const Matrix4& m)
{
    Matrix4 inverse;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) inverse.m[r][c] = m.m[c][r];
    for (int c = 0; c < 3; ++c)
        inverse.m[3][c] = -(m.m[3][0] * inverse.m[0][c] + m.m[3][1] * inverse.m[1][c] + m.m[3][2] * inverse.m[2][c]);
    return inverse;
}

}  // namespace

std::vector<MotionTrack> TracksUnderNewParent(const Scene& scene, int part, int newParent)
{
    std::vector<MotionTrack> tracks;
    const Part* moving = scene.PartAt(part);
    if (!moving) return tracks;
    // What lies above both parents moves the Part the same either way, so
    // only the two chains below it are evaluated.
    const int oldParent = moving->parentIndex;
    const int shared = CommonAncestor(scene, oldParent, newParent);
    const std::vector<int> oldChain = ChainUpTo(scene, oldParent, shared);
    const std::vector<int> newChain = ChainUpTo(scene, newParent, shared);
    tracks.reserve(scene.Motions().size());
    for (const Motion& motion : scene.Motions()) {
        MotionTrack track = part < static_cast<int>(motion.tracks.size()) ? motion.tracks[part] : MotionTrack{};
        // Keys are in ascending frame, so the chains are sampled in order.
        ChainSampler oldAbove(scene, motion, oldChain), newAbove(scene, motion, newChain);
        for (KeyFrame& key : track.keys) {
            const Matrix4 moved =
                AffineProduct(AffineProduct(key.matrix, oldAbove.At(key.frame)), RigidInverse(newAbove.At(key.frame)));
            key.matrix = KeyMatrixOf(moved, moved.Translation());
        }
        tracks.push_back(std::move(track));
    }
    return tracks;
}

}  // namespace m3d
