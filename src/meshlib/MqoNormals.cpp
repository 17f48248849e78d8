#include "meshlib/MqoNormals.h"

#include <cmath>
#include <numbers>

namespace {

Vec3 UnitOrZero(double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0) || !std::isfinite(length)) return {};
    return {float(x / length), float(y / length), float(z / length)};
}

Vec3 NonZeroOr(Vec3 v, Vec3 fallback) { return (v.x != 0 || v.y != 0 || v.z != 0) ? v : fallback; }

constexpr Vec3 kUpward{0, 1, 0};

// The angle (0 ... pi) whose sine and cosine are proportional to y >= 0 and x.
// A polynomial atan within 0.004 radians: plenty for a weight, and several
// times cheaper than atan2, which otherwise dominates the smoothing.
float ApproximateAngle(float y, float x)
{
    constexpr float kQuarterPi = std::numbers::pi_v<float> / 4;
    const float ax = std::fabs(x);
    if (y == 0 && ax == 0) return 0;
    float a = 0;
    if (ax >= y) {
        const float r = y / ax;
        a = r * (kQuarterPi + 0.273f * (1 - r));
    } else {
        const float r = ax / y;
        a = 2 * kQuarterPi - r * (kQuarterPi + 0.273f * (1 - r));
    }
    return x < 0 ? 4 * kQuarterPi - a : a;
}

}  // namespace

void ComputeFaceNormals(const MqoObject& object, std::vector<Vec3>& faceNormals)
{
    const size_t faceCount = object.FaceCount();
    faceNormals.resize(faceCount);
    for (size_t f = 0; f < faceCount; ++f) {
        const uint32_t begin = object.faceStart[f];
        const uint32_t n = object.faceStart[f + 1] - begin;
        const uint32_t* corners = object.cornerVertex.data() + begin;
        const auto& p = object.positions;
        Vec3 sum;
        if (n == 3) {
            sum = Cross(p[corners[1]] - p[corners[0]], p[corners[2]] - p[corners[0]]);
        } else if (n == 4) {
            sum = Cross(p[corners[2]] - p[corners[0]], p[corners[3]] - p[corners[1]]);
        } else {
            double x = 0, y = 0, z = 0;
            for (uint32_t i = 0; i < n; ++i) {
                const Vec3 a = p[corners[i]];
                const Vec3 b = p[corners[(i + 1) % n]];
                x += (double(a.y) - b.y) * (double(a.z) + b.z);
                y += (double(a.z) - b.z) * (double(a.x) + b.x);
                z += (double(a.x) - b.x) * (double(a.y) + b.y);
            }
            faceNormals[f] = UnitOrZero(x, y, z);
            continue;
        }
        faceNormals[f] = UnitOrZero(sum.x, sum.y, sum.z);
    }
}

void ComputeCornerNormals(const MqoObject& object, const std::vector<Vec3>& faceNormals,
                          std::vector<Vec3>& cornerNormals)
{
    const size_t faceCount = object.FaceCount();
    const size_t cornerCount = object.cornerVertex.size();
    cornerNormals.resize(cornerCount);
    if (!object.smooth) {
        for (size_t f = 0; f < faceCount; ++f)
            for (uint32_t c = object.faceStart[f]; c < object.faceStart[f + 1]; ++c)
                cornerNormals[c] = NonZeroOr(faceNormals[f], kUpward);
        return;
    }

    // Which face each corner belongs to, and the corner's angle.
    std::vector<uint32_t> faceOf(cornerCount);
    std::vector<float> angle(cornerCount);
    const auto& p = object.positions;
    for (size_t f = 0; f < faceCount; ++f) {
        const uint32_t begin = object.faceStart[f];
        const uint32_t n = object.faceStart[f + 1] - begin;
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t c = begin + k;
            faceOf[c] = static_cast<uint32_t>(f);
            const Vec3 here = p[object.cornerVertex[c]];
            const Vec3 toPrev = p[object.cornerVertex[begin + (k + n - 1) % n]] - here;
            const Vec3 toNext = p[object.cornerVertex[begin + (k + 1) % n]] - here;
            const Vec3 cross = Cross(toNext, toPrev);
            angle[c] = ApproximateAngle(std::sqrt(Dot(cross, cross)), Dot(toNext, toPrev));
        }
    }

    // The corners at each vertex, as offsets into one list.
    std::vector<uint32_t> first(p.size() + 1, 0);
    for (uint32_t v : object.cornerVertex) ++first[v + 1];
    for (size_t v = 0; v < p.size(); ++v) first[v + 1] += first[v];
    std::vector<uint32_t> cornersAt(cornerCount);
    {
        std::vector<uint32_t> fill(first.begin(), first.end() - 1);
        for (uint32_t c = 0; c < cornerCount; ++c) cornersAt[fill[object.cornerVertex[c]]++] = c;
    }

    // A small allowance keeps faces exactly at the facet angle together.
    const float limit = float(std::cos(double(object.facetDegrees) * std::numbers::pi / 180.0)) - 1e-5f;
    for (size_t v = 0; v < p.size(); ++v) {
        const uint32_t* around = cornersAt.data() + first[v];
        const size_t count = first[v + 1] - first[v];
        for (size_t i = 0; i < count; ++i) {
            const uint32_t c = around[i];
            const Vec3 own = faceNormals[faceOf[c]];
            if (count > kMaxSmoothedFaces) {
                cornerNormals[c] = NonZeroOr(own, kUpward);
                continue;
            }
            double x = 0, y = 0, z = 0;
            for (size_t j = 0; j < count; ++j) {
                const uint32_t other = around[j];
                const Vec3 n = faceNormals[faceOf[other]];
                if (Dot(own, n) < limit) continue;
                x += double(n.x) * angle[other];
                y += double(n.y) * angle[other];
                z += double(n.z) * angle[other];
            }
            cornerNormals[c] = NonZeroOr(UnitOrZero(x, y, z), NonZeroOr(own, kUpward));
        }
    }
}
