#pragma once

#include "math/Vec3.h"
#include "meshlib/LoadedModel.h"

#include <cstddef>
#include <string>

namespace m3d {

// Helpers shared by the .mqo reader tests.
namespace mqotest {

std::string DataPath(const std::string& fileName);
std::string ReadDataFile(const std::string& fileName);

Vec3 PositionOf(const LoadedModel& m, uint32_t vertex);
Vec3 NormalOf(const LoadedModel& m, uint32_t vertex);
// (v1 - v0) x (v2 - v0) of triangle t: twice its area, pointing to its front.
Vec3 TriangleCross(const LoadedModel& m, size_t t);
size_t TriangleCount(const LoadedModel& m);
// Sum over triangles of (front normal . (centre - model centre)) x area:
// positive when a closed model's faces point outward.
double OutwardScore(const LoadedModel& m);

}  // namespace mqotest

}  // namespace m3d
