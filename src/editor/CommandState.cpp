#include "editor/CommandState.h"

#include "editor/EditorSession.h"

CommandNeeds NeedsOf(EditorCommand command)
{
    // {current Part, current Motion, any Part, not playing}
    using C = EditorCommand;
    switch (command) {
    case C::NewProject:
    case C::OpenProject:
    case C::SaveProject:
    case C::SaveProjectAs:
    case C::ColourSettings:
    case C::LightFromFront:
    case C::GridWidth:
    case C::ModelScale:
    case C::MirrorPose:
    case C::DropToGround:
    case C::LevelPart:
    case C::Play:
    case C::Stop:
        return {false, false, false, false};
    case C::ExportX:
    case C::ExportGltf:
        return {false, false, true, false};
    case C::DeleteRedundantKeys:
    case C::MirrorMotion:
    case C::GroundAllKeyframes:
    case C::TurnMotionAround:
        return {false, true, false, false};
    case C::LevelPartInAllKeyframes:
        return {true, true, false, false};
    // The controls playback locks.
    case C::AddPart:
    case C::SymmetrySettings:
    case C::LinkLR:
    case C::FitViews:
    case C::NewMotion:
    case C::SelectMotion:
    case C::FrameRate:
    case C::Undo:
    case C::Redo:
    case C::SetRelativeRotation:
    case C::SetAbsoluteRotation:
    case C::SetRelativePosition:
    case C::SetAbsolutePosition:
        return {false, false, false, true};
    // Without a Part these would do nothing but throw the undo steps away.
    case C::DeletePart:
    case C::SwapPart:
    case C::AddMirroredPart:
        return {true, false, false, true};
    case C::DeleteMotion:
    case C::RenameMotion:
    case C::SetMotionLength:
    case C::SetAllKeys:
    case C::DeleteAllKeys:
    case C::CopyKeys:
    case C::PasteKeys:
        return {false, true, false, true};
    case C::SetKey:
    case C::DeleteKey:
        return {true, true, false, true};
    }
    return {};
}

bool ChangesCommandState(const EditorEvent& event)
{
    return std::holds_alternative<SelectionChanged>(event) || std::holds_alternative<MotionListChanged>(event) ||
           std::holds_alternative<PlayingChanged>(event) || std::holds_alternative<HistoryButtonsChanged>(event) ||
           std::holds_alternative<TreeItemInserted>(event) || std::holds_alternative<TreeItemRemoved>(event);
}

bool CanRun(const EditorSession& session, EditorCommand command)
{
    const CommandNeeds needs = NeedsOf(command);
    if (needs.notPlaying && session.IsPlaying()) return false;
    if (needs.currentPart && session.CurrentPart() < 0) return false;
    if (needs.currentMotion && session.CurrentMotion() < 0) return false;
    if (needs.anyPart && session.GetScene().PartCount() == 0) return false;
    if (command == EditorCommand::Undo) return session.History().UndoEnabled();
    if (command == EditorCommand::Redo) return session.History().RedoEnabled();
    if (command == EditorCommand::Play) return !session.IsPlaying() && session.CurrentMotion() >= 0;
    if (command == EditorCommand::Stop) return session.IsPlaying();
    return true;
}
