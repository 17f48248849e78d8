#pragma once

#include "anim/ExportReport.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;
class UserPrompt;

// Time of a key = frame x time scale factor (ticks at 4800 per second).
constexpr int kDefaultTimeScaleFactor = 200;
constexpr int kMinTimeScaleFactor = 1;
constexpr int kMaxTimeScaleFactor = 1000;

// Caption of every message of the export.
extern const char* const kExportXCaption;      // "Export xfile"
extern const char* const kExportXNoParts;      // "オブジェクトが存在しない"
extern const char* const kExportXNoMotions;    // "モーションが存在しない"
extern const char* const kExportXCannotWrite;  // "ファイルが書き込めない" (followed by the reason)

struct ExportXResult {
    // True when the .x file and its textures were written.
    bool written = false;
    // True when the export was refused before anything was written: no Parts,
    // no Motions, a time scale out of range, a target that cannot be written
    // (no regular file, a missing folder, an over-long name), or a read-only
    // file the user did not allow to replace.
    bool refused = false;
    // True when the user answered No to replacing files (refused is then true too).
    bool declined = false;
    // True when the user cancelled while the textures were encoded: nothing written.
    bool cancelled = false;
    // Why nothing was written (the refusal's text, or the write failure naming
    // the file and the cause); "" when written or cancelled. Shown with kExportXCaption.
    std::string message;
    // The textures written beside the .x file and where each came from.
    std::vector<ExportImageSource> images;
    // The textures the meshes name that had no image to write (each its problem).
    std::vector<std::string> textureProblems;
    int partCount = 0;
    int motionCount = 0;
    // Matrix keys written: key frames of every Motion times the Parts.
    int animationKeyCount = 0;
};

// Why scene cannot be exported at all, asked before the export's dialogs
// open: kExportXNoParts or kExportXNoMotions; nullptr when it can.
const char* ExportXRefusal(const Scene& scene);

// The export command after its dialogs: writes the model and all Motions of
// scene to path as DirectX text, with the textures of the mesh manager
// that have no file of their name in its folder yet (PlanMissingTextures),
// as one set: each is written beside its target, then all are put in place,
// the .x file last, or none (FileSetWriter). A target that is no regular
// file is refused; a read-only .x file is asked about through prompt (the
// save dialog has asked about replacing it). Encoding the textures reports
// to prompt.Progress(); what was done about interrupted saves found on the
// way is shown through it (ShowRecoveryNotes). Building the content poses the model: the caller
// shows the pose it wants afterwards. Refuses (nothing written) with
// ExportXRefusal's text, when timeScaleFactor is outside
// kMinTimeScaleFactor ... kMaxTimeScaleFactor, or for a lengthScale
// (every length written is the editor's times it) not finite and above 0.
ExportXResult ExportXFile(Scene& scene, const std::string& path, int timeScaleFactor, UserPrompt& prompt,
                          float lengthScale = 1.0f);

}  // namespace m3d
