#pragma once

#include "anim/ExportReport.h"
#include "anim/GltfDocument.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;
class UserPrompt;

// Frames per second of the export when nothing else is said: the editor's
// default playback rate.
constexpr int kDefaultGltfFramesPerSecond = 30;

// Caption of every message of the export.
extern const char* const kExportGltfCaption;  // "glTF出力"

struct ExportGltfResult {
    // True when every file was written.
    bool written = false;
    // True when the export was refused before anything was written: no Parts,
    // a rate below 1, a file name ending in neither ".gltf" nor ".glb", a
    // target that cannot be written (no regular file, a missing folder, an
    // over-long name), or files to replace that the user did not allow.
    bool refused = false;
    // True when the user answered No to replacing files (refused is then true too).
    bool declined = false;
    // True when the user cancelled while the images were encoded: nothing written.
    bool cancelled = false;
    // Why nothing was written, naming the file and the reason; "" when
    // written or cancelled. Shown with kExportGltfCaption.
    std::string message;
    int partCount = 0;
    int motionCount = 0;  // one animation each
    int meshCount = 0;
    int imageCount = 0;
    // Files written beside a .gltf (its .bin and images), without folder.
    int sideFileCount = 0;
    // Where every image came from, in image order.
    std::vector<ExportImageSource> images;
    // The textures the materials name that had no image to export (each its problem).
    std::vector<std::string> textureProblems;
    // How far the channels taken at every frame stray between frames, in the
    // file's lengths and in degrees (BakeDeviationOf); zero when none was.
    BakeDeviation baked;
};

// Why scene cannot be exported at all (kExportXNoParts); nullptr when it can.
const char* ExportGltfRefusal(const Scene& scene);

// Writes the model and every Motion of scene (see BuildGltfDocument) to path:
// one binary file for a name ending in ".glb", or for ".gltf" (ASCII letters
// compared without case) the JSON with PATHSTEM.bin and the PNG images
// beside it. Every target is planned and checked first (a folder, an
// over-long name: refused); the files beside a .gltf that exist and that
// the .gltf being replaced does not name, and read-only targets, are asked
// about in one question through prompt (the save dialog has asked about
// path itself). Then every file is written beside its target and all are
// put in place, path last, or none (FileSetWriter). Encoding the images
// reports to prompt.Progress(); what was done about interrupted saves found
// on the way is shown through it (ShowRecoveryNotes). Animation time is
// frame / framesPerSecond; every length is the editor's times
// choices.lengthScale (refused unless finite and above 0); the other choices
// as BuildGltfDocument takes them.
// The scene is not changed.
ExportGltfResult ExportGltfFile(Scene& scene, const std::string& path, int framesPerSecond, UserPrompt& prompt,
                                const GltfChoices& choices = {});

}  // namespace m3d
