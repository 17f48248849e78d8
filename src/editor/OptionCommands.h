#pragma once

#include "anim/ExportGltfFile.h"
#include "anim/ExportXFile.h"

#include <string>

namespace m3d {

class EditorSession;
class UserPrompt;

// Outcome of the grid width dialog.
enum class GridWidthOutcome : int {
    Stored = 0,   // OK with a valid width: stored; the caller rebuilds the grid
    Kept = 1,     // cancelled: the width is unchanged
    Refused = 2,  // OK with a width outside 1 ... 10000: the dialog stays open
};
// Closes the grid width dialog: confirmed with width (checked against
// 1 ... 10000) or cancelled. A refused width changes nothing; otherwise the
// title is rebuilt, showing the width.
GridWidthOutcome CloseGridWidthDialog(EditorSession& session, bool confirmed, int width);

// Outcome of the scale dialog.
enum class ScaleDialogOutcome : int {
    Applied = 0,  // OK with a valid factor: the model was scaled
    Kept = 1,     // cancelled: nothing scaled, the views still fitted
    Refused = 2,  // OK with a factor out of range: the dialog stays open
};
// Scales the model (ScaleModel), shows the current Motion at frame 0
// (without one the Parts keep their pose) and fits the views, as one undo
// step. false for a refused factor.
bool ScaleCommand(EditorSession& session, float factor);
// Closes the scale dialog: confirmed with factor (ScaleCommand), or cancelled.
ScaleDialogOutcome CloseScaleDialog(EditorSession& session, bool confirmed, float factor);

// "Xファイル出力" after its dialogs: ExportXFile (asking through prompt),
// then the pose of the current Motion at the current frame is shown again.
// Lengths are written times lengthScale.
ExportXResult ExportXCommand(EditorSession& session, const std::string& path, int timeScaleFactor, UserPrompt& prompt,
                             float lengthScale = 1.0f);

// "glTF出力" after its save dialog: ExportGltfFile at the session's playback
// rate, asking through prompt. The pose shown is not touched.
// The export is made as choices say (GltfChoices).
ExportGltfResult ExportGltfCommand(EditorSession& session, const std::string& path, UserPrompt& prompt,
                                   const GltfChoices& choices = {});

// "正面から照らす": the light comes from the current view's eye.
void LightFromFrontCommand(EditorSession& session);

}  // namespace m3d
