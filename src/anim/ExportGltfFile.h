#pragma once

#include <string>

class Scene;

// Frames per second of the export when nothing else is said: the editor's
// default playback rate.
constexpr int DEFAULT_GLTF_FRAMES_PER_SECOND = 30;

// Caption of every message of the export.
extern const char* const EXPORT_GLTF_CAPTION;  // "glTF出力"

struct ExportGltfResult {
    // True when every file was written.
    bool written = false;
    // True when the export was refused before anything was written: no Parts,
    // a rate below 1 or a file name ending in neither ".gltf" nor ".glb".
    bool refused = false;
    // Why nothing (or not everything) was written, naming the file and the
    // reason; "" when written. Shown with EXPORT_GLTF_CAPTION.
    std::string message;
    int partCount = 0;
    int motionCount = 0;  // one animation each
    int meshCount = 0;
    int imageCount = 0;
    // Files written beside a .gltf (its .bin and images), without folder.
    int sideFileCount = 0;
};

// Why scene cannot be exported at all (EXPORT_X_NO_PARTS); nullptr when it can.
const char* ExportGltfRefusal(const Scene& scene);

// Writes the model and every Motion of scene (see BuildGltfDocument) to path:
// one binary file for a name ending in ".glb", or for ".gltf" (ASCII letters
// compared without case) the JSON with PATHSTEM.bin and the PNG images
// beside it, those first, so that the .gltf never names a missing file.
// Every file goes through a temporary file, so a failed write leaves an old
// file intact. Animation time is frame / framesPerSecond. The scene is not
// changed.
ExportGltfResult ExportGltfFile(Scene& scene, const std::string& path, int framesPerSecond, bool replaceReadOnly = false);
