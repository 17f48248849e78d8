#pragma once

#include "anim/BakeDeviation.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;
class TaskProgress;
struct TextureImage;

// How the parts of a glTF file are stored: all in one binary .glb, or a .gltf
// JSON file with its buffer (.bin) and images beside it.
enum class GltfLayout { Binary, Separate };

// A file that goes beside a .gltf: its plain name (no folder) and content,
// or the image to be encoded as PNG into it when it is written (image set,
// bytes empty; the image belongs to the scene's mesh manager).
struct GltfSideFile {
    std::string name;
    std::string bytes;
    const TextureImage* image = nullptr;
};

// An image of the asset and the mesh manager texture it was made from.
struct GltfImageOrigin {
    std::string file;  // its side file beside a .gltf; "" inside a .glb
    int texture = -1;  // index in the mesh manager's list
};

// A glTF asset of the model and every Motion, ready to be stored.
struct GltfDocument {
    std::string json;    // the JSON text (UTF-8)
    std::string binary;  // the buffer: a .glb's BIN chunk, or the .bin file; "" when nothing needs one
    // Beside a .gltf: the .bin file (when binary is not empty), then one PNG
    // per texture, still to be encoded. Empty for a .glb, which holds everything.
    std::vector<GltfSideFile> sideFiles;
    // Every image, in image order.
    std::vector<GltfImageOrigin> imageOrigins;
    // Mesh manager textures the materials name that have no image, each once.
    std::vector<int> texturesWithoutImage;
    // The progress asked to stop while the images of a .glb were encoded; nothing else is then valid.
    bool cancelled = false;
    int meshCount = 0;
    int materialCount = 0;
    int imageCount = 0;
    int animationCount = 0;
    // How far the channels taken at every frame stray between frames (GltfAssembly::baked).
    BakeDeviation baked;
};

// What the person chose for a glTF export.
struct GltfChoices {
    // Every length written (vertices, translations) times this (finite, above 0).
    float lengthScale = 1.0f;
    // Appended to the name of every animation of a Motion that loops.
    std::string loopSuffix;
    // Every animated channel as LINEAR at every frame, for importers that
    // read splines their own way.
    bool bakeEveryFrame = false;
};

// Builds the asset of scene (which it does not change):
// - one node per Part in the order and nesting of the parts tree, named after
//   the Part (duplicates kept), placed by RestMatrixOf;
// - one mesh per Part with faces, one triangle-list primitive per material
//   that has faces, with per-vertex normals and texture coordinates;
// - one lit material per mesh material (diffuse as base colour, its texture,
//   when the image could be read, as base colour texture in PNG: encoded here
//   for a Binary layout, reporting rows done to progress, and left to the
//   writer of the side files for a Separate one);
// - one animation per Motion, in Motion order and named after it, with a
//   translation and a rotation channel per Part at time frame /
//   framesPerSecond (framesPerSecond > 0), covering MotionKeyFrames: a track
//   whose segments are all linear or all step is sampled at MotionKeyFrames
//   (LINEAR, STEP), an all-smooth one carries its keys and tangents
//   (CUBICSPLINE), any other is sampled at every frame (LINEAR); at every
//   whole frame each gives the editor's pose.
// Everything is mirrored into glTF's axes (GltfAxes.h). fileStem names the
// side files of a Separate layout: fileStem.bin and fileStem_TEXTURE.png.
// The animation of a Motion that loops has "extras": {"loop": true} and
// choices.loopSuffix after its name.
GltfDocument BuildGltfDocument(Scene& scene, GltfLayout layout, const std::string& fileStem, int framesPerSecond,
                               TaskProgress* progress = nullptr, const GltfChoices& choices = {});

}  // namespace m3d
