#include "editor/CommandState.h"

#include "editor/CommandRegistry.h"
#include "editor/EditorSession.h"

namespace m3d {

bool ChangesCommandState(const EditorEvent& event)
{
    return std::holds_alternative<SelectionChanged>(event) || std::holds_alternative<MotionListChanged>(event) ||
           std::holds_alternative<PlayingChanged>(event) || std::holds_alternative<HistoryButtonsChanged>(event) ||
           std::holds_alternative<TreeItemInserted>(event) || std::holds_alternative<TreeItemRemoved>(event) ||
           std::holds_alternative<PreferencesChanged>(event) || std::holds_alternative<PoseDragChanged>(event);
}

bool CanRun(const EditorSession& session, EditorCommand command)
{
    const CommandNeeds needs = EntryOf(command).needs;
    if (needs.notPlaying && session.IsPlaying()) return false;
    if (needs.currentPart && session.CurrentPart() < 0) return false;
    if (needs.keyDrag && !session.Posing().DraggingByKeys()) return false;
    if (needs.anyDrag && !session.Posing().DraggingByKeys() && !session.Ik().Dragging()) return false;
    if (command == EditorCommand::RenderMovie) return !session.GetScene().Motions().empty();
    if (command == EditorCommand::KeyIkParts)
        return session.CurrentMotion() >= 0 && !session.Ik().LastDragParts().empty();
    if (command == EditorCommand::Undo) return session.History().UndoEnabled();
    if (command == EditorCommand::Redo) return session.History().RedoEnabled();
    return true;
}

}  // namespace m3d
