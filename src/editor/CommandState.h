#pragma once

#include "editor/EditorEvent.h"

class EditorSession;

// Every user command of the session, for asking whether it can run now.
// Menus and buttons take their enabled state from CanRun.
enum class EditorCommand : int {
    // File
    NewProject, OpenProject, SaveProject, SaveProjectAs, ColourSettings,
    // Parts
    AddPart, DeletePart, SwapPart, AddMirroredPart, SymmetrySettings,
    // Option
    LightFromFront, GridWidth, ModelScale, MirrorPose, DropToGround, LevelPart, ExportX, ExportGltf,
    DeleteRedundantKeys, MirrorMotion, GroundAllKeyframes, LevelPartInAllKeyframes, TurnMotionAround,
    // Transform panel
    SetRelativeRotation, SetAbsoluteRotation, SetRelativePosition, SetAbsolutePosition, LinkLR, FitViews,
    Undo, Redo,
    // Motion panel
    SelectMotion, NewMotion, DeleteMotion, RenameMotion, SetMotionLength, SetKey, DeleteKey, Play, Stop,
    SetAllKeys, DeleteAllKeys, CopyKeys, PasteKeys, FrameRate,
};

// What a command needs before it can run.
struct CommandNeeds {
    bool currentPart = false;    // a Part is selected
    bool currentMotion = false;  // a Motion is current
    bool anyPart = false;        // the model has at least one Part
    bool notPlaying = false;     // locked while a Motion plays back
};

CommandNeeds NeedsOf(EditorCommand command);

// Whether event can change what CanRun answers (selection, Parts, Motions,
// playing, history): controls refresh their enabled state only then, not on
// every pose step of a drag or playback.
bool ChangesCommandState(const EditorEvent& event);

// Whether command can run in the session's present state. Undo and Redo
// also need a step to go to.
bool CanRun(const EditorSession& session, EditorCommand command);
