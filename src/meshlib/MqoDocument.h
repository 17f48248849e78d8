#pragma once

#include "math/Vec3.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// What a .mqo file holds, as read and before any geometry processing. Text
// stays in the file's encoding until the model is built.

struct MqoMaterial {
    std::string rawName;         // bytes as in the file
    std::string rawTexturePath;  // "" when the material has no tex(...)
    float color[4] = {1, 1, 1, 1};
    // A material nobody touched stores these values; a missing key means the same.
    float diffuse = 0.8f;
    float ambient = 0.6f;
    float emissive = 0.0f;
    float specular = 0.0f;
    float power = 5.0f;
};

// One object's vertices and faces. Faces are kept in flat arrays: the corners
// of face f are cornerVertex[faceStart[f] ... faceStart[f + 1] - 1], with two
// texture coordinates each in cornerUv. Two-corner faces (lines) are dropped
// while reading, so every face has at least three corners.
struct MqoObject {
    bool visible = true;
    bool smooth = true;                  // shading 1
    float facetDegrees = 59.5f;          // 0 ... 180
    int mirrorMode = 0;                  // 0 none, 1 halves, 2 halves joined
    uint32_t mirrorAxes = 0;             // bits: 1 X, 2 Y, 4 Z
    std::vector<Vec3> positions;         // already in the editor's space (Z negated)
    std::vector<uint32_t> faceStart{0};  // faces + 1 entries
    std::vector<uint32_t> cornerVertex;  // each < positions.size()
    std::vector<float> cornerUv;         // 2 per corner; (0, 0) where the file has none
    std::vector<int32_t> faceMaterial;   // one per face; -1 when the face names none

    size_t FaceCount() const { return faceStart.size() - 1; }
};

// Sub-meshes number their material with a signed byte.
inline constexpr size_t kMaxMqoMaterials = 128;

struct MqoDocument {
    bool utf8 = false;                   // CodePage utf8 or Ver 1.2 and later; Shift-JIS otherwise
    std::vector<MqoMaterial> materials;  // at most kMaxMqoMaterials
    std::vector<MqoObject> objects;      // the visible ones only
};

}  // namespace m3d
