#include "MqoTestSupport.h"

#include "io/FileReading.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

namespace m3d {

namespace mqotest {

std::string DataPath(const std::string& fileName) { return std::string(M3D_TEST_DATA_DIR) + "/mqo/" + fileName; }

std::string ReadDataFile(const std::string& fileName)
{
    const Expected<std::string> bytes = ReadWholeFile(DataPath(fileName));
    EXPECT_TRUE(Succeeded(bytes));
    return bytes ? *bytes : std::string();
}

Vec3 PositionOf(const LoadedModel& m, uint32_t vertex)
{
    const _MESH_VERTEX& v = m.vertices.at(vertex);
    return {v.x, v.y, v.z};
}

Vec3 NormalOf(const LoadedModel& m, uint32_t vertex)
{
    const _MESH_VERTEX& v = m.vertices.at(vertex);
    return {v.nx, v.ny, v.nz};
}

Vec3 TriangleCross(const LoadedModel& m, size_t t)
{
    const Vec3 a = PositionOf(m, m.indices[3 * t]);
    const Vec3 b = PositionOf(m, m.indices[3 * t + 1]);
    const Vec3 c = PositionOf(m, m.indices[3 * t + 2]);
    return Cross(b - a, c - a);
}

size_t TriangleCount(const LoadedModel& m) { return m.indices.size() / 3; }

double OutwardScore(const LoadedModel& m)
{
    double cx = 0, cy = 0, cz = 0;
    for (const _MESH_VERTEX& v : m.vertices) {
        cx += v.x;
        cy += v.y;
        cz += v.z;
    }
    const double count = double(m.vertices.size());
    const Vec3 centre{float(cx / count), float(cy / count), float(cz / count)};
    double score = 0;
    for (size_t t = 0; t < TriangleCount(m); ++t) {
        const Vec3 a = PositionOf(m, m.indices[3 * t]);
        const Vec3 b = PositionOf(m, m.indices[3 * t + 1]);
        const Vec3 c = PositionOf(m, m.indices[3 * t + 2]);
        const Vec3 mid = (a + b + c) * (1.0f / 3.0f);
        // cross = 2 x area x unit normal, so half of it is normal x area.
        score += 0.5 * Dot(Cross(b - a, c - a), mid - centre);
    }
    return score;
}

}  // namespace mqotest

}  // namespace m3d
