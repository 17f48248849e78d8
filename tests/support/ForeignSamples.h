#pragma once

#include "foreign/ForeignModel.h"

#include <cmath>

namespace m3d {

// A one-triangle mesh in the readers' space (counter-clockwise front, +Z normal).
inline ForeignMesh TriangleMesh(const char* name)
{
    ForeignMesh mesh;
    mesh.name = name;
    mesh.geometry.vertices = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
    mesh.geometry.indices = {0, 1, 2};
    mesh.geometry.triangleMaterials = {0};
    mesh.geometry.materials.push_back(ModelMaterial{});
    mesh.geometry.materials[0].diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    return mesh;
}

// The unit quaternion of angle radians about the unit axis (x, y, z).
inline Quaternion AxisAngle(float x, float y, float z, float angle)
{
    const float s = std::sin(angle / 2);
    return {x * s, y * s, z * s, std::cos(angle / 2)};
}

// An arm in the readers' space: "shoulder" (a mesh, at (1, 2, 3), turned 90°
// about Y, scaled by 2) with an empty, unanimated "joint" below it at
// (0, 0, 1) holding "hand" (a mesh at (0, 1, 0)); one animation "wave"
// turns the shoulder about Z from 0 to 90° over 1 s (linear, two keys) and
// steps the hand's translation at 0.5 s.
inline ForeignModel ArmModel()
{
    ForeignModel model;
    model.format = "test";
    model.meshes = {TriangleMesh("upper"), TriangleMesh("palm")};
    ForeignNode shoulder{"shoulder", -1, 0, {1, 2, 3}, AxisAngle(0, 1, 0, float(M_PI / 2)), {2, 2, 2}};
    ForeignNode joint{"joint", 0, -1, {0, 0, 1}, {}, {1, 1, 1}};
    ForeignNode hand{"hand", 1, 1, {0, 1, 0}, {}, {1, 1, 1}};
    model.nodes = {shoulder, joint, hand};
    ForeignAnimation wave;
    wave.name = "wave";
    const Quaternion turned = AxisAngle(0, 0, 1, float(M_PI / 2));
    const Quaternion start = shoulder.rotation;
    // The shoulder's own 90° about Y, then 0 or 90° about Z after it: q = qz * qy.
    auto compose = [](const Quaternion& a, const Quaternion& b) {
        return Quaternion{a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                          a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
    };
    const Quaternion end = compose(turned, start);
    wave.channels.push_back({0,
                             ForeignPath::Rotation,
                             ForeignInterpolation::Linear,
                             {0, 1},
                             {start.x, start.y, start.z, start.w, end.x, end.y, end.z, end.w}});
    wave.channels.push_back({2, ForeignPath::Translation, ForeignInterpolation::Step, {0, 0.5f}, {0, 1, 0, 0, 2, 0}});
    model.animations.push_back(wave);
    return model;
}

}  // namespace m3d
