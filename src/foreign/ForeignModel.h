#pragma once

#include "math/LengthUnit.h"
#include "math/Quaternion.h"
#include "math/Vec3.h"
#include "meshlib/LoadedModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// A model read from someone else's format, as plain records that know nothing
// of Parts. Every reader hands its file over in one space: right-handed, +Y
// up, front faces counter-clockwise (so (v1 - v0) x (v2 - v0) is the outward
// normal), lengths in the file's units after its own unit scale and up axis
// are applied (glTF's space). ForeignSpace.h turns that into the editor's.

// An image a file carries inside itself (a glTF buffer view or data URI, an
// FBX's embedded texture): the encoded bytes as stored, to be decoded like a
// texture file.
struct ForeignImage {
    std::string name;   // a file name for it, unique in the model (e.g. "robot_image0.png")
    std::string bytes;  // the encoded image (PNG, JPEG...)
};

// One mesh: a triangle list with its materials. In geometry, texturePath of a
// material is a path relative to the model file's folder (or absolute), or ""
// when the material has no texture file.
struct ForeignMesh {
    std::string name;  // UTF-8, may be empty
    LoadedModel geometry;
    // Per material of geometry: the index into ForeignModel::images of its
    // embedded texture, or -1. Empty means -1 for all.
    std::vector<int32_t> embeddedImages;
};

// A node of the file's tree. Its transform relative to its parent is
// translation, rotation and scale applied as scale first, then rotation, then
// translation (a point p goes to T + R(S p)).
struct ForeignNode {
    std::string name;  // UTF-8, may be empty or repeat another node's
    // Index of the parent node, always lower than the node's own; -1 at the top.
    int32_t parent = -1;
    int32_t mesh = -1;  // index into ForeignModel::meshes, or -1
    Vec3 translation;
    Quaternion rotation;  // unit
    Vec3 scale{1.0f, 1.0f, 1.0f};
};

// How a channel moves between its keys (the file's own rules).
enum class ForeignInterpolation : uint8_t {
    Linear = 0,       // lerp of vectors, shorter-arc slerp of rotations
    Step = 1,         // the key's value until the next key
    CubicSpline = 2,  // Hermite with in- and out-tangents per key (glTF CUBICSPLINE)
};

// Which property of its node a channel animates.
enum class ForeignPath : uint8_t { Translation = 0, Rotation = 1, Scale = 2 };

// One animated property of one node. times are seconds, strictly ascending.
// values holds, per key, 3 floats (translation, scale) or 4 (rotation as
// x, y, z, w); a CubicSpline channel holds three such groups per key: the
// in-tangent, the value, the out-tangent (glTF's layout), tangents per second.
struct ForeignChannel {
    int32_t node = 0;
    ForeignPath path = ForeignPath::Translation;
    ForeignInterpolation interpolation = ForeignInterpolation::Linear;
    std::vector<float> times;
    std::vector<float> values;
};

struct ForeignAnimation {
    std::string name;  // UTF-8, may be empty
    std::vector<ForeignChannel> channels;
};

struct ForeignModel {
    std::string format;  // the format's name for messages and reports: "glTF", "OBJ", "FBX"...
    // What one unit of its lengths is in metres (math/LengthUnit.h): 1 for a
    // glTF, 0.01 for an FBX (which its reader brings into centimetres),
    // unknown for formats that do not say.
    double metresPerUnit = kUnknownLengthUnit;
    std::vector<ForeignMesh> meshes;
    // Depth first: every parent before its children.
    std::vector<ForeignNode> nodes;
    std::vector<ForeignAnimation> animations;
    std::vector<ForeignImage> images;
    // What the reader could not bring over, one short English line each
    // ("skin of mesh 'body' (rest pose kept)", "metallic-roughness of material 'steel'").
    std::vector<std::string> dropped;
    // Where its texture files may be read from (KeepImagesInModelFolder); not
    // part of the records: a model read back holds InFolder.
    NamedFileScope imageScope = NamedFileScope::InFolder;
};

// The most nodes a model may bring, and the most Parts a project may have
// after an import: every node may become a Part, and Parts whose nodes share
// a name (or have none) are told apart by five digits ("part", "part00000"
// ... "part99999"), which run out past this many. Readers refuse a model of
// more nodes before they convert it.
constexpr size_t kMaxModelNodes = 100000;

// Why a model of nodes nodes, more than kMaxModelNodes, is refused (the reason alone).
std::string TooManyNodesReason(size_t nodes);

// Floats per key of a channel's path: 4 for rotations, 3 otherwise.
inline int ForeignComponents(ForeignPath path) { return path == ForeignPath::Rotation ? 4 : 3; }

}  // namespace m3d
