#pragma once

#include "editor/MovieExport.h"
#include "io/Outcome.h"

class QWidget;

namespace m3d {

class CAppForm;
class TaskProgress;
class UserPrompt;

// Renders the frames choices names with the window's own render device into
// an offscreen framebuffer of the chosen size, seen as the chosen view sees
// (its camera, draw mode, grid and axes; no selection box or gizmo), and
// writes them as one file set: nothing is written when a frame fails or
// progress (frames done of the count) asks to stop, which ends as a
// Cancellation. Notes about files kept aside go to prompt. The pose is as it
// was afterwards.
Outcome RenderMovie(CAppForm& form, const MovieExportChoices& choices, TaskProgress* progress, UserPrompt& prompt);

// RenderMovie with a progress dialog and its Cancel; a failure is shown
// naming why, a success says where it wrote.
void RenderMovieWithProgress(CAppForm& form, const MovieExportChoices& choices, UserPrompt& prompt, QWidget* parent);

}  // namespace m3d
