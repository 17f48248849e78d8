#include "meshlib/MqoFaceVisits.h"

#include <vector>

namespace m3d {

size_t FindFaceCirclingFewVertices(const MqoObject& object)
{
    // seen[v] is 1 + the number of the last face that counted v.
    std::vector<uint32_t> seen;
    for (size_t f = 0; f < object.FaceCount(); ++f) {
        const uint32_t begin = object.faceStart[f], n = object.faceStart[f + 1] - begin;
        if (n <= 2 * kMaxVisitsPerVertex) continue;
        if (seen.empty()) seen.assign(object.positions.size(), 0);
        size_t distinct = 0;
        for (uint32_t c = begin; c < begin + n; ++c) {
            uint32_t& mark = seen[object.cornerVertex[c]];
            if (mark != f + 1) ++distinct, mark = uint32_t(f + 1);
        }
        if (n > kMaxVisitsPerVertex * distinct + 2) return f;
    }
    return kNoCrowdedFace;
}

}  // namespace m3d
