#pragma once

namespace m3d {

// Every user command of the session. The registry (CommandRegistry.h) holds
// one entry for each: what it needs, how it runs, its menu text, shortcut
// and undo label.
enum class EditorCommand : int {
    // File
    NewProject,
    OpenProject,
    SaveProject,
    SaveProjectAs,
    ImportModel,
    ExportGltf,
    RenderMovie,
    RecoverDocuments,
    ColourSettings,
    Exit,
    // Parts
    AddPart,
    DeletePart,
    SwapPart,
    AddMirroredPart,
    SymmetrySettings,
    RenamePart,
    MovePivot,
    ResizePart,
    // Parts › IK
    ToggleIk,
    LongerChain,
    ShorterChain,
    PinPart,
    SetPole,
    JointLimits,
    KeyIkParts,
    // Parts tree
    ReparentPart,
    // Option
    LightFromFront,
    GridWidth,
    MoveSnap,
    ModelScale,
    MirrorPose,
    DropToGround,
    LevelPart,
    ExportX,
    DeleteRedundantKeys,
    MirrorMotion,
    GroundAllKeyframes,
    LevelPartInAllKeyframes,
    TurnMotionAround,
    // View
    FitWholeModel,
    // Motion (the keyboard's playback and frame commands)
    TogglePlayback,
    PreviousFrame,
    NextFrame,
    PreviousKey,
    NextKey,
    FirstFrame,
    LastFrame,
    // Motion > Interpolation: the keys' interpolation, then that of new keys
    InterpolationLinear,
    InterpolationSmooth,
    InterpolationEaseIn,
    InterpolationEaseOut,
    InterpolationEaseInOut,
    InterpolationStep,
    NewKeysLinear,
    NewKeysSmooth,
    NewKeysEaseIn,
    NewKeysEaseOut,
    NewKeysEaseInOut,
    NewKeysStep,
    ToggleMotionLoop,  // Motion > Loop
    MatchLoopEnds,     // Motion > Match Ends
    // View
    ToggleCurvePanel,
    ToggleLocalAxes,
    // Help
    HelpContents,
    UserGuide,
    About,
    // Transform panel
    SetRelativeRotation,
    SetAbsoluteRotation,
    SetRelativePosition,
    SetAbsolutePosition,
    LinkLR,
    FitViews,
    Undo,
    Redo,
    // Motion panel
    SelectMotion,
    NewMotion,
    DeleteMotion,
    RenameMotion,
    SetMotionLength,
    SetKey,
    DeleteKey,
    Play,
    Stop,
    SetAllKeys,
    DeleteAllKeys,
    CopyKeys,
    PasteKeys,
    RealTimePlayback,
    FrameRate,
    // Pose drags by the keys
    RotateDrag,
    MoveDrag,
    DragAxisX,
    DragAxisY,
    DragAxisZ,
    ConfirmDrag,
    CancelDrag,
};

}  // namespace m3d
