#pragma once

class Scene;

// Accepted scale factors, inclusive.
constexpr float MIN_MODEL_SCALE = 0.0001f;
constexpr float MAX_MODEL_SCALE = 10000.0f;

// Scales the whole model by factor about each Part's origin: every mesh's
// geometry (accumulating with earlier scalings) and the translation row of
// every key of every Motion; rotations and frames stay. Then the current
// Motion is evaluated at frame 0 (without a current Motion the Parts keep
// their localPosition) and the views are asked to fit the model. The undo
// history and the title are not touched. A factor outside
// MIN_MODEL_SCALE ... MAX_MODEL_SCALE (or NaN) changes nothing: false.
bool ScaleModel(Scene& scene, float factor);

// Outcome of the scale dialog.
enum ScaleDialogOutcome : int {
    SCALE_APPLIED = 0,  // OK with a valid factor: the model was scaled
    SCALE_KEPT = 1,     // cancelled: nothing scaled, the views still fitted
    SCALE_REFUSED = 2,  // OK with a factor out of range: the dialog stays open
};
// Closes the scale dialog: confirmed with factor, or cancelled.
ScaleDialogOutcome CloseScaleDialog(Scene& scene, bool confirmed, float factor);
