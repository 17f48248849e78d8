#pragma once

#include "math/Matrix4.h"
#include "scene/KeyInterpolation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// Frames of a new Motion (its last frame).
constexpr int DEFAULT_MOTION_LENGTH = 60;
// Longest Motion name, in Shift-JIS bytes (a 20-byte field with its terminator).
constexpr int kMaxMotionNameBytes = 16;

// A Bezier key's own handles, used while its tangent mode HasOwnHandles:
// for each channel (H, P, B in degrees, x, y, z) the handle before the key
// (in) and the one after it (out) as offsets from the key, in frames and in
// the channel's value. An in handle's frames are at most 0, an out handle's
// at least 0. All zero for every other key.
struct BezierHandles {
    float inFrames[6] = {}, inValues[6] = {};
    float outFrames[6] = {}, outValues[6] = {};
};

// The pose of one Part at one frame: the Part's localMatrix with its
// translation row replaced by its localPosition (_44 = 1), how the segment
// from this key to the next is timed, and the key's own Bezier handles.
// Keys are compared and digested as bytes: the fields leave no padding.
struct KeyFrame {
    KeyFrame() = default;
    KeyFrame(int32_t frame, const Matrix4& matrix, const KeyInterpolation& interpolation = {})
        : frame(frame), matrix(matrix), interpolation(interpolation)
    {
    }

    int32_t frame = 0;
    Matrix4 matrix;
    KeyInterpolation interpolation;
    BezierHandles handles;
};
static_assert(sizeof(KeyFrame) == 4 + 64 + 24 + 96, "KeyFrame must have no padding");

// The keys of one Part in one Motion, sorted by strictly ascending frame, the
// first one at frame 0. The operations below keep that order.
struct MotionTrack {
    std::vector<KeyFrame> keys;

    // Index of the key at exactly frame, or -1.
    int FindKey(int frame) const;
    // Replaces the matrix of the key at frame (its interpolation stays), or
    // inserts a key there in frame order with interpolation forNew.
    void SetKeyMatrix(int frame, const Matrix4& matrix, const KeyInterpolation& forNew = {});
    // The interpolation of the segment frame lies in: that of the last key at
    // or before frame; Linear when there is none.
    KeyInterpolation InterpolationAt(int frame) const;
    // Removes the key at frame; false (and nothing changes) when there is none.
    bool DeleteKey(int frame);
    // Orders the keys by ascending frame (for keys assembled out of order).
    void SortKeys();
    // Drops every key after frame lastFrame; a key at lastFrame stays.
    void DropKeysAfter(int lastFrame);
    // The same keys, compared byte for byte.
    bool SameKeys(const MotionTrack& other) const;
};

// A named animation: one track per Part, in Part order.
struct Motion {
    std::vector<MotionTrack> tracks;
    // The last frame; the Motion covers 0 ... length.
    int32_t length = DEFAULT_MOTION_LENGTH;
    // Unique, non-empty, at most kMaxMotionNameBytes in Shift-JIS (UTF-8 here).
    std::string name;
    // A cycle: its last frame is its first again. Playback goes on from the
    // last frame to frame 1, and Bezier curves wrap across the seam of a
    // track keyed at both frame 0 and the last frame. Kept in the side file.
    bool loop = false;
};

// The key matrix of a pose: localMatrix with _41, _42, _43 replaced by localPosition.
Matrix4 KeyMatrixOf(const Matrix4& localMatrix, Vec3 localPosition);

}  // namespace m3d
