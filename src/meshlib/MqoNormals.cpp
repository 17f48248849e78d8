#include "meshlib/MqoNormals.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace m3d {

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

// The faces around one busy vertex, summed per direction cell. A unit normal
// falls into the cell of its largest axis (six sides) and of its two other
// components cut into kSteps x kSteps squares on that side: cells span about
// 25 degrees, and there are at most 6 x kSteps x kSteps of them.
class SmoothingCells {
public:
    void Clear()
    {
        for (uint32_t cell : occupied) sums[cell] = {};
        occupied.clear();
    }

    // Adds a face's unit normal with its corner angle; zero normals add nothing.
    void Add(Vec3 n, float weight)
    {
        if (n.x == 0 && n.y == 0 && n.z == 0) return;
        Sum& sum = sums[CellOf(n)];
        if (sum.count++ == 0) occupied.push_back(CellOf(n));
        sum.weighted[0] += double(n.x) * weight;
        sum.weighted[1] += double(n.y) * weight;
        sum.weighted[2] += double(n.z) * weight;
        sum.direction[0] += n.x;
        sum.direction[1] += n.y;
        sum.direction[2] += n.z;
    }

    // Turns each cell's direction sum into its mean direction; after the last Add.
    void Finish()
    {
        for (uint32_t cell : occupied) {
            Sum& sum = sums[cell];
            sum.mean = UnitOrZero(sum.direction[0], sum.direction[1], sum.direction[2]);
        }
    }

    // The weighted sum of the cells whose mean direction is within `limit`
    // (a cosine) of own.
    void Smooth(Vec3 own, float limit, double& x, double& y, double& z) const
    {
        for (uint32_t cell : occupied) {
            const Sum& sum = sums[cell];
            if (Dot(own, sum.mean) < limit) continue;
            x += sum.weighted[0];
            y += sum.weighted[1];
            z += sum.weighted[2];
        }
    }

private:
    static constexpr int kSteps = 4;

    static uint32_t CellOf(Vec3 n)
    {
        const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        int side = 0;
        float major = ax, u = n.y, v = n.z;
        if (ay >= ax && ay >= az)
            side = 2, major = ay, u = n.z, v = n.x;
        else if (az >= ax && az >= ay)
            side = 4, major = az, u = n.x, v = n.y;
        const float signedMajor = side == 0 ? n.x : side == 2 ? n.y : n.z;
        if (signedMajor < 0) ++side;
        const auto step = [&](float w) { return std::clamp(int((w / major + 1) * 0.5f * kSteps), 0, kSteps - 1); };
        return uint32_t((side * kSteps + step(u)) * kSteps + step(v));
    }

    struct Sum {
        double weighted[3] = {0, 0, 0};
        double direction[3] = {0, 0, 0};
        Vec3 mean;
        uint32_t count = 0;
    };
    std::array<Sum, 6 * kSteps * kSteps> sums{};
    std::vector<uint32_t> occupied;
};

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
    SmoothingCells cells;
    for (size_t v = 0; v < p.size(); ++v) {
        const uint32_t* around = cornersAt.data() + first[v];
        const size_t count = first[v + 1] - first[v];
        const bool pairwise = count <= kMaxPairwiseSmoothedFaces;
        if (!pairwise) {
            cells.Clear();
            for (size_t j = 0; j < count; ++j) cells.Add(faceNormals[faceOf[around[j]]], angle[around[j]]);
            cells.Finish();
        }
        for (size_t i = 0; i < count; ++i) {
            const uint32_t c = around[i];
            const Vec3 own = faceNormals[faceOf[c]];
            double x = 0, y = 0, z = 0;
            if (!pairwise) {
                cells.Smooth(own, limit, x, y, z);
                cornerNormals[c] = NonZeroOr(UnitOrZero(x, y, z), NonZeroOr(own, kUpward));
                continue;
            }
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

}  // namespace m3d
