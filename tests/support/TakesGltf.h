#pragma once

#include "support/GltfDoc.h"
#include "support/TempFolder.h"

#include <cmath>
#include <string>

namespace m3d {

// A two-part lamp as a 3D suite writes it with one take per object and
// action, as NAME.gltf in folder (its path returned): "body" (a triangle at
// the origin) and "arm" (one at (2, 0, 0)); "hop" moves the body up by 1
// from 1/24 s to 1 + 1/24 s, "body|still" holds the body where it rests,
// "arm|hop" repeats "hop" key for key, "wave" turns the arm 90° about Z from
// 0 to 1 s.
inline std::string WriteTakesGltf(const TempFolder& folder, const std::string& name = "lamp.gltf")
{
    using nlohmann::json;
    GltfDoc doc;
    const int positions = doc.Floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", 3);
    doc.Mesh({json{{"attributes", {{"POSITION", positions}}}}});
    doc.root["nodes"] = {{{"name", "body"}, {"mesh", 0}}, {{"name", "arm"}, {"mesh", 0}, {"translation", {2, 0, 0}}}};
    doc.root["scenes"] = {{{"nodes", {0, 1}}}};
    const float first = 1.0f / 24;
    const int hopTimes = doc.Floats({first, first + 1}, "SCALAR", 1);
    const int hop = doc.Floats({0, 0, 0, 0, 1, 0}, "VEC3", 3);
    const int still = doc.Floats({0, 0, 0, 0, 0, 0}, "VEC3", 3);
    const int waveTimes = doc.Floats({0, 1}, "SCALAR", 1);
    const int turn = doc.Floats({0, 0, 0, 1, 0, 0, float(M_SQRT1_2), float(M_SQRT1_2)}, "VEC4", 4);
    auto animation = [](const char* title, int node, const char* path, int input, int output) {
        return json{{"name", title},
                    {"samplers", {{{"input", input}, {"output", output}}}},
                    {"channels", {{{"sampler", 0}, {"target", {{"node", node}, {"path", path}}}}}}};
    };
    doc.root["animations"] = {
        animation("hop", 0, "translation", hopTimes, hop), animation("body|still", 0, "translation", waveTimes, still),
        animation("arm|hop", 0, "translation", hopTimes, hop), animation("wave", 1, "rotation", waveTimes, turn)};
    return doc.WriteGltf(folder, name);
}

}  // namespace m3d
