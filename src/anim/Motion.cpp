#include "scene/Motion.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace m3d {

namespace {
bool FrameBefore(const KeyFrame& key, int frame) { return key.frame < frame; }
}  // namespace

int MotionTrack::FindKey(int frame) const
{
    const auto it = std::lower_bound(keys.begin(), keys.end(), frame, FrameBefore);
    return it != keys.end() && it->frame == frame ? static_cast<int>(it - keys.begin()) : -1;
}

void MotionTrack::SetKeyMatrix(int frame, const Matrix4& matrix, const KeyInterpolation& forNew)
{
    const auto it = std::lower_bound(keys.begin(), keys.end(), frame, FrameBefore);
    if (it != keys.end() && it->frame == frame) {
        it->matrix = matrix;
        return;
    }
    keys.insert(it, KeyFrame{frame, matrix, forNew});
}

KeyInterpolation MotionTrack::InterpolationAt(int frame) const
{
    const auto after =
        std::upper_bound(keys.begin(), keys.end(), frame, [](int f, const KeyFrame& key) { return f < key.frame; });
    return after == keys.begin() ? KeyInterpolation() : std::prev(after)->interpolation;
}

bool MotionTrack::DeleteKey(int frame)
{
    const int index = FindKey(frame);
    if (index < 0) return false;
    keys.erase(keys.begin() + index);
    return true;
}

void MotionTrack::SortKeys()
{
    std::stable_sort(keys.begin(), keys.end(), [](const KeyFrame& a, const KeyFrame& b) { return a.frame < b.frame; });
}

void MotionTrack::DropKeysAfter(int lastFrame)
{
    // Only the leading run of keys within range is kept, as a scan from the start finds it.
    const auto firstBeyond =
        std::find_if(keys.begin(), keys.end(), [lastFrame](const KeyFrame& key) { return key.frame > lastFrame; });
    keys.erase(firstBeyond, keys.end());
}

Matrix4 KeyMatrixOf(const Matrix4& localMatrix, Vec3 localPosition)
{
    Matrix4 matrix = localMatrix;
    matrix.SetTranslation(localPosition);
    return matrix;
}

bool MotionTrack::SameKeys(const MotionTrack& other) const
{
    return keys.size() == other.keys.size() &&
           (keys.empty() || std::memcmp(keys.data(), other.keys.data(), keys.size() * sizeof(KeyFrame)) == 0);
}

}  // namespace m3d
