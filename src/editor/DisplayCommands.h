#pragma once

#include "view/ViewDisplay.h"
#include "view/ViewType.h"

namespace m3d {

class EditorSession;

// The commands of a view's display toolbar. Each acts on view 0 ... 3 (any
// other index does nothing) and reports ViewsChanged.

// A type chosen in the view-type list (0 "Top" ... 8 "Pers"): the camera moves
// to the type's place (ViewState::SetViewType).
void SetViewTypeCommand(EditorSession& session, int view, ViewType type);
// The toolbar's switches (draw mode and overlays) for the view; they take
// effect in the next frame.
void SetViewDisplayCommand(EditorSession& session, int view, const ViewDisplay& display);
// The layout picture: four views or the view alone (ViewState::ToggleLayout).
void ToggleLayoutCommand(EditorSession& session, int view);

}  // namespace m3d
