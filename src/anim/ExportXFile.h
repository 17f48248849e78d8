#pragma once

#include <string>

class Scene;

// Time of a key = frame x time scale factor (ticks at 4800 per second).
constexpr int DEFAULT_TIME_SCALE_FACTOR = 200;
constexpr int MIN_TIME_SCALE_FACTOR = 1;
constexpr int MAX_TIME_SCALE_FACTOR = 1000;

// Caption of every message of the export.
extern const char* const EXPORT_X_CAPTION;         // "Export xfile"
extern const char* const EXPORT_X_NO_PARTS;        // "オブジェクトが存在しない"
extern const char* const EXPORT_X_NO_MOTIONS;      // "モーションが存在しない"
extern const char* const EXPORT_X_CANNOT_WRITE;    // "ファイルが書き込めない" (followed by the reason)

struct ExportXResult {
    // True when the .x file was written (texture problems do not undo that).
    bool written = false;
    // True when the export was refused before anything was written: no Parts,
    // no Motions or a time scale out of range.
    bool refused = false;
    // Why nothing was written (the refusal's text, or the write failure naming
    // the file and the reason); "" when written. Shown with EXPORT_X_CAPTION.
    std::string message;
    // One line per texture that could not be saved (naming its file); "" when none.
    std::string textureErrors;
    int partCount = 0;
    int motionCount = 0;
    // Matrix keys written: key frames of every Motion times the Parts.
    int animationKeyCount = 0;
};

// Why scene cannot be exported at all, asked before the export's dialogs
// open: EXPORT_X_NO_PARTS or EXPORT_X_NO_MOTIONS; nullptr when it can.
const char* ExportXRefusal(const Scene& scene);

// The export command after its dialogs: writes the model and all Motions of
// scene to path as DirectX text (streamed through a temporary file, so a
// failed write leaves an old file intact; a read-only file is replaced only
// when replaceReadOnly is set, a target that is no regular file never), saves the textures the meshes use into the
// file's folder where no file of that name is present yet. Building the
// content poses the model: the caller shows the pose it wants afterwards.
// Refuses (nothing written) with ExportXRefusal's text, or when
// timeScaleFactor is outside MIN_TIME_SCALE_FACTOR ... MAX_TIME_SCALE_FACTOR.
ExportXResult ExportXFile(Scene& scene, const std::string& path, int timeScaleFactor, bool replaceReadOnly = false);
