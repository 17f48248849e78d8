#include "editor/DisplayCommands.h"

#include "editor/EditorSession.h"

namespace m3d {

namespace {

bool IsView(int view) { return view >= 0 && view < ViewState::kViewCount; }

}  // namespace

void SetViewTypeCommand(EditorSession& session, int view, ViewType type)
{
    if (!IsView(view)) return;
    session.Views().SetViewType(view, type);
    session.Events().Publish(ViewsChanged{});
}

void SetViewDisplayCommand(EditorSession& session, int view, const ViewDisplay& display)
{
    if (!IsView(view)) return;
    session.Displays()[size_t(view)] = display;
    session.Events().Publish(ViewsChanged{});
}

void ToggleLayoutCommand(EditorSession& session, int view)
{
    if (!IsView(view)) return;
    session.Views().ToggleLayout(view);
    session.Events().Publish(ViewsChanged{});
}

}  // namespace m3d
