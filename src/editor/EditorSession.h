#pragma once

#include "editor/EditorEvents.h"
#include "editor/MotionTimeline.h"
#include "editor/PlaybackController.h"
#include "editor/IkPosing.h"
#include "editor/PosingState.h"
#include "editor/history/DocumentHistory.h"
#include "editor/TransformPanelState.h"
#include "io/FileState.h"
#include "scene/Scene.h"
#include "settings/RecentFiles.h"
#include "view/ViewDisplay.h"
#include "view/ViewState.h"

#include <optional>
#include <string>

namespace m3d {

// The editing session: the model being edited and everything about how it is
// being edited (selection, current Motion and frame, pose history, views,
// transform panel fields, playback). One object for the whole run; the app
// and the command line both work through it, and every change goes out as an
// event to the subscribers of Events().
class EditorSession {
public:
    // clock: the milliseconds playback is timed by (tests drive their own).
    explicit EditorSession(MillisecondClock clock = SteadyMilliseconds());
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    Scene& GetScene() { return scene; }
    const Scene& GetScene() const { return scene; }
    EditorEvents& Events() { return events; }
    ViewState& Views() { return viewState; }
    const ViewState& Views() const { return viewState; }
    // The one undo history of the document and the pose.
    DocumentHistory& History() { return history; }
    const DocumentHistory& History() const { return history; }
    // The motion panel's scroll positions, range and key clipboard, and playback.
    MotionTimeline& Timeline() { return timeline; }
    const MotionTimeline& Timeline() const { return timeline; }
    PlaybackController& Playback() { return playback; }
    const PlaybackController& Playback() const { return playback; }
    TransformPanelState& TransformPanel() { return transformPanel; }
    const TransformPanelState& TransformPanel() const { return transformPanel; }
    // The gizmo, its settings and the pose drag under way.
    PosingState& Posing() { return posing; }
    const PosingState& Posing() const { return posing; }
    IkPosing& Ik() { return ik; }
    const IkPosing& Ik() const { return ik; }
    // What each view's display toolbar switches on, and the display colours
    // (zero until the settings are read).
    ViewDisplays& Displays() { return viewDisplays; }
    const ViewDisplays& Displays() const { return viewDisplays; }
    ColourTable& Colours() { return colours; }
    const ColourTable& Colours() const { return colours; }
    // Whether the curve panel is shown (View > Curves; remembered in the
    // settings). PreferencesChanged when it changes.
    bool CurvePanelShown() const { return curvePanelShown; }
    void SetCurvePanelShown(bool shown);
    // The projects opened or saved last (the File menu's list).
    RecentFiles& RecentProjects() { return recentProjects; }
    const RecentFiles& RecentProjects() const { return recentProjects; }
    // The project file as it was when the document was opened, saved or
    // restored from a snapshot; nullopt for a new document. A save over a
    // file that has changed since asks first.
    const std::optional<FileState>& ProjectFileAtOpen() const { return projectFileAtOpen; }
    void SetProjectFileAtOpen(std::optional<FileState> state) { projectFileAtOpen = state; }

    // --- Selection ---

    // Index of the Part selected in the parts tree; -1 when the root entry (or
    // nothing) is selected. Always names an existing Part or -1.
    int CurrentPart() const { return scene.SelectedPartIndex(); }
    // Index of the current Motion; -1 when there is none.
    int CurrentMotion() const;
    // The frame shown of the current Motion (0 or more).
    int CurrentFrame() const { return currentFrame; }
    // Whether a Motion is playing back (editing controls are locked then).
    bool IsPlaying() const { return playing; }

    // Selects item as the user would (kNoTreeItem or an unknown handle: no
    // selection); when the selection changes, the transform panel shows the
    // new current Part and the title is rebuilt.
    void SelectTreeItem(TreeItem item);
    // SelectTreeItem of Part index's item; -1 or an index outside the Parts
    // selects the root entry.
    void SelectPart(int index);
    // Makes Motion index current (-1: none; an index outside the list is
    // taken as -1). Reported with MotionListChanged.
    void SelectMotion(int index);
    // Sets the current frame (a negative frame counts as 0). Reported with
    // CurrentFrameChanged. The pose is not evaluated.
    void SetCurrentFrame(int frame);
    // Starts or stops playback (no undo step): reported with PlayingChanged
    // and the history buttons.
    void SetPlaying(bool isPlaying);

    // --- Reactions shared by the commands ---

    // Refills the transform panel's fields from the current Part, each
    // rotation the triple of angles nearest the one shown last for the Part
    // (TransformPanelState::shownRotations); PoseChanged.
    void ShowCurrentTransform();
    // Rebuilds the title text (program, project, totals, current Part, grid
    // width, the model's height as posed (ModelHeightText; O(vertices)), and
    // " *" at the end while something is unsaved); TitleChanged.
    void UpdateTitle();
    const std::string& TitleText() const { return titleText; }
    int TotalFaces() const { return totalFaces; }
    int TotalMeshes() const { return totalMeshes; }
    // Centres every view on the box around all Parts in their present pose; ViewsChanged.
    void FitViews();
    // "全体表示": centres every view on that box and zooms so that the model
    // fills each view with a margin (ViewState::FitWholeModel); ViewsChanged.
    void FitWholeModel();
    // Reacts to a selection the Scene moved by itself (a removal) and to the
    // Part set having changed: if the tree's selection differs from the last
    // one reported, the selection reaction runs.
    void SelectionMayHaveChanged();

private:
    void OnSelectionChanged();

    Scene scene;
    EditorEvents events;
    ViewState viewState;
    ViewDisplays viewDisplays;
    ColourTable colours{};
    RecentFiles recentProjects;
    std::optional<FileState> projectFileAtOpen;
    bool playing = false;
    bool curvePanelShown = false;
    DocumentHistory history{*this};
    MotionTimeline timeline{*this};
    PlaybackController playback;
    TransformPanelState transformPanel;
    PosingState posing{*this};
    IkPosing ik{*this};
    int currentMotion = -1;
    int currentFrame = 0;
    TreeItem reportedSelection = kNoTreeItem;
    std::string titleText;
    int totalFaces = 0;
    int totalMeshes = 0;
};

}  // namespace m3d
