#include "meshlib/PolygonTriangulator.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// The bits of v (below 2^16) spread to the even bit positions.
uint32_t Spread(uint32_t v)
{
    v = (v | (v << 8)) & 0x00FF00FFu;
    v = (v | (v << 4)) & 0x0F0F0F0Fu;
    v = (v | (v << 2)) & 0x33333333u;
    v = (v | (v << 1)) & 0x55555555u;
    return v;
}

void Fan(uint32_t n, std::vector<uint32_t>& out)
{
    for (uint32_t k = 1; k + 1 < n; ++k) out.insert(out.end(), {0u, k, k + 1});
}

}  // namespace

void PolygonTriangulator::Triangulate(const std::vector<Vec3>& positions, const uint32_t* corners, uint32_t n,
                                      std::vector<uint32_t>& out)
{
    if (n == 3) {
        out.insert(out.end(), {0u, 1u, 2u});
    } else if (n == 4) {
        SplitQuad(positions, corners, out);
    } else if (!Project(positions, corners, n)) {
        Fan(n, out);
    } else {
        ClipEars(n, out);
    }
}

void PolygonTriangulator::SplitQuad(const std::vector<Vec3>& positions, const uint32_t* corners,
                                    std::vector<uint32_t>& out)
{
    const Vec3 p0 = positions[corners[0]], p1 = positions[corners[1]];
    const Vec3 p2 = positions[corners[2]], p3 = positions[corners[3]];
    // A quad's area-weighted normal is the cross product of its diagonals.
    const Vec3 normal = Cross(p2 - p0, p3 - p1);
    const bool firstTurnsOver = Dot(Cross(p1 - p0, p2 - p0), normal) < 0;
    const bool secondTurnsOver = Dot(Cross(p3 - p2, p0 - p2), normal) < 0;
    if (firstTurnsOver || secondTurnsOver)
        out.insert(out.end(), {1u, 2u, 3u, 3u, 0u, 1u});
    else
        out.insert(out.end(), {0u, 1u, 2u, 2u, 3u, 0u});
}

bool PolygonTriangulator::Project(const std::vector<Vec3>& positions, const uint32_t* corners, uint32_t n)
{
    double nx = 0, ny = 0, nz = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const Vec3 a = positions[corners[i]];
        const Vec3 b = positions[corners[(i + 1) % n]];
        nx += (double(a.y) - b.y) * (double(a.z) + b.z);
        ny += (double(a.z) - b.z) * (double(a.x) + b.x);
        nz += (double(a.x) - b.x) * (double(a.y) + b.y);
    }
    const double ax = std::fabs(nx), ay = std::fabs(ny), az = std::fabs(nz);
    if (ax == 0 && ay == 0 && az == 0) return false;
    // Each Newell component is twice the signed area of the outline projected
    // along that axis, so dropping the largest one and ordering the other two
    // by its sign gives a counter-clockwise outline.
    int dropped = az >= ax && az >= ay ? 2 : (ax >= ay ? 0 : 1);
    const double sign = dropped == 0 ? nx : dropped == 1 ? ny : nz;
    projectedX.resize(n);
    projectedY.resize(n);
    double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    for (uint32_t i = 0; i < n; ++i) {
        const Vec3 p = positions[corners[i]];
        double u = 0, v = 0;
        if (dropped == 0) {
            u = p.y;
            v = p.z;
        } else if (dropped == 1) {
            u = p.z;
            v = p.x;
        } else {
            u = p.x;
            v = p.y;
        }
        if (sign < 0) std::swap(u, v);
        projectedX[i] = u;
        projectedY[i] = v;
        minX = std::min(minX, u);
        maxX = std::max(maxX, u);
        minY = std::min(minY, v);
        maxY = std::max(maxY, v);
    }
    const double extent = std::max(maxX - minX, maxY - minY);
    if (!std::isfinite(extent)) return false;
    tolerance = extent * extent * 1e-12;
    originX = minX;
    originY = minY;
    zScale = extent > 0 ? 65535 / extent : 0;
    // The ear test's box grows by this much, far more than the rounding of an
    // orientation, so no corner the test would catch lies outside it.
    margin = extent * 1e-9;
    return true;
}

uint32_t PolygonTriangulator::ZCode(double x, double y) const
{
    const double qx = std::clamp((x - originX) * zScale, 0.0, 65535.0);
    const double qy = std::clamp((y - originY) * zScale, 0.0, 65535.0);
    return Spread(uint32_t(qx)) | (Spread(uint32_t(qy)) << 1);
}

void PolygonTriangulator::IndexCorners(uint32_t n)
{
    // Short outlines watch every corner, so the ears found are exactly those
    // of a test against all corners. In a long one only reflex corners can be
    // inside an ear of a simple outline; leaving out the convex and the flat
    // ones (a row of collinear corners would otherwise sit in every box of the
    // fan that cuts it) keeps the tests few.
    const bool reflexOnly = n > kStepBackCorners;
    watched.assign(n, 0);
    zKeys.clear();
    for (uint32_t i = 0; i < n; ++i) {
        if (reflexOnly && Orientation((i + n - 1) % n, i, (i + 1) % n) >= -tolerance) continue;
        watched[i] = 1;
        zKeys.push_back((uint64_t(ZCode(projectedX[i], projectedY[i])) << 32) | i);
    }
    std::sort(zKeys.begin(), zKeys.end());
    watchedCount = zKeys.size();
}

double PolygonTriangulator::Orientation(uint32_t a, uint32_t b, uint32_t c) const
{
    return (projectedX[b] - projectedX[a]) * (projectedY[c] - projectedY[a]) - (projectedY[b] - projectedY[a]) * (projectedX[c] - projectedX[a]);
}

bool PolygonTriangulator::IsEar(uint32_t i)
{
    ++work;
    const uint32_t a = prev[i], c = next[i];
    if (Orientation(a, i, c) <= tolerance) return false;
    const auto sameAs = [&](uint32_t p, uint32_t q) { return projectedX[p] == projectedX[q] && projectedY[p] == projectedY[q]; };
    const auto blocks = [&](uint32_t p) {
        // A second visit of an ear corner (the seam of a hole) may touch the ear.
        if (sameAs(p, a) || sameAs(p, i) || sameAs(p, c)) return false;
        return Orientation(a, i, p) >= 0 && Orientation(i, c, p) >= 0 && Orientation(c, a, p) >= 0;
    };
    // Only corners inside the ear's box can be in the ear, and their Z-order
    // codes lie between those of the box's corners.
    const uint32_t low = ZCode(std::min({projectedX[a], projectedX[i], projectedX[c]}) - margin, std::min({projectedY[a], projectedY[i], projectedY[c]}) - margin);
    const uint32_t high = ZCode(std::max({projectedX[a], projectedX[i], projectedX[c]}) + margin, std::max({projectedY[a], projectedY[i], projectedY[c]}) + margin);
    // Corners no longer watched are dropped from the sorted list once they
    // are half of it, so scans never wade through many of them.
    if (zKeys.size() > 2 * watchedCount + 64) {
        std::erase_if(zKeys, [&](uint64_t key) { return !watched[uint32_t(key)]; });
        work += zKeys.size();
    }
    for (auto key = std::lower_bound(zKeys.begin(), zKeys.end(), uint64_t(low) << 32);
         key != zKeys.end() && uint32_t(*key >> 32) <= high; ++key) {
        ++work;
        const uint32_t p = uint32_t(*key);
        if (watched[p] && p != i && blocks(p)) return false;
    }
    return true;
}

void PolygonTriangulator::ClipEars(uint32_t n, std::vector<uint32_t>& out)
{
    prev.resize(n);
    next.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
        prev[i] = (i + n - 1) % n;
        next[i] = (i + 1) % n;
    }
    IndexCorners(n);
    const auto clip = [&](uint32_t i) {
        out.insert(out.end(), {prev[i], i, next[i]});
        next[prev[i]] = next[i];
        prev[next[i]] = prev[i];
        watchedCount -= watched[i];
        watched[i] = 0;
        // Cutting an ear only narrows its neighbours' angles: a reflex
        // neighbour that turned flat or convex stays so.
        if (n > kStepBackCorners)
            for (uint32_t q : {prev[i], next[i]})
                if (watched[q] && Orientation(prev[q], q, next[q]) >= -tolerance) watched[q] = 0, --watchedCount;
    };
    work = 0;
    const uint64_t budget = kEarWorkPerCorner * n + kEarWorkFloor;
    uint32_t remaining = n;
    uint32_t current = 0;
    uint32_t misses = 0;
    while (remaining > 3) {
        if (work > budget) {
            // Out of budget: fan the rest of the outline from the current corner.
            for (uint32_t p = next[current]; next[p] != current; p = next[p])
                out.insert(out.end(), {current, p, next[p]});
            return;
        }
        if (IsEar(current)) {
            const uint32_t after = next[current];
            clip(current);
            --remaining;
            // Step back so the corner before the cut is tried again first. That
            // fans the outline round one corner, and the growing fan triangles
            // catch more and more reflex corners in their box: past
            // kStepBackCorners the next try moves on past the cut instead,
            // which keeps the ears small.
            current = n <= kStepBackCorners ? prev[after] : next[after];
            misses = 0;
            continue;
        }
        current = next[current];
        if (++misses < remaining) continue;

        // A whole turn without an ear: the outline touches itself or is
        // numerically flat somewhere. Cut a flat corner first (a zero-area
        // triangle hurts nobody), else any convex corner, else the current one.
        work += 2 * uint64_t(remaining);
        uint32_t pick = current;
        bool found = false;
        uint32_t p = current;
        for (uint32_t k = 0; k < remaining && !found; ++k, p = next[p])
            if (std::fabs(Orientation(prev[p], p, next[p])) <= tolerance) pick = p, found = true;
        for (uint32_t k = 0; k < remaining && !found; ++k, p = next[p])
            if (Orientation(prev[p], p, next[p]) > 0) pick = p, found = true;
        current = next[pick];
        clip(pick);
        --remaining;
        misses = 0;
    }
    out.insert(out.end(), {prev[current], current, next[current]});
}

}  // namespace m3d
