#pragma once

#include "anim/Motion.h"
#include "meshlib/CMeshBase.h"
#include "scene/Part.h"
#include "scene/PartsTree.h"
#include "scene/SceneObserver.h"
#include "view/PoseHistory.h"
#include "view/TransformPanelState.h"
#include "view/ViewState.h"

#include <memory>
#include <string>
#include <vector>

// Text shown in the title before a project was opened or saved.
extern const char* const UNTITLED_PROJECT_NAME;  // "名称未設定"

// The model being edited: the Parts and their tree, the Motions, the mesh
// manager and the names of the current project. One object for the whole run.
// Every change visible on screen is reported to the observer.
class Scene {
public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // The observer receives every later notification; nullptr for none. Not owned.
    void SetObserver(SceneObserver* observer);
    SceneObserver& Observer() { return *observer; }

    // --- Parts ---

    // Loads an object file (.mqo or .mesh, either separator) as a new Part under
    // the tree's selected item and selects it. A file that cannot be read still
    // yields a Part with an empty mesh; lastLoadError then says why ("" when it
    // loaded). Every Motion gets a frame-0 key for it, and every Part's frame-0
    // key becomes its current pose. Returns 1.
    int AddPartFromFile(const std::string& path);
    // Removes the Part owning item with its subtree and their tracks. Returns 0
    // (and changes nothing) for the root entry's item or an item of no Part.
    int RemovePart(TreeItem item);
    // Drops the Parts marked -2 and renumbers parents, partners and tracks.
    void CompactParts();
    // Recomposes the world transforms of Part index, of its later siblings and
    // of all their descendants; 0 recomposes the whole model. An index outside
    // the array does nothing. Parts without a mesh are composed all the same
    // (their children still get the right transform); only meshes receive it.
    void UpdateHierarchy(int index);
    // Index of the Part whose treeItem is item; -1 when none.
    int FindPartByTreeItem(TreeItem item) const;
    // FindPartByTreeItem of the tree's selected item.
    int GetCurrentPartIndex() const;
    // World matrix of Part index as composition gives it (the mesh's matrix when
    // it has one). Identity for an index outside the array.
    Matrix4 WorldMatrixOf(int index) const;
    // Removes all Parts and all Motions; the root entry and the project's names stay.
    void ClearScene();
    // Rebuilds the totals and the title text and reports it.
    void UpdateTitle();
    // Centres every view on the box around all Parts in their present pose.
    void FitViews();
    // Gives a Part a display name (baseName, or the first free "%s%05d") not
    // used by any other Part; "" when all 100000 numbered names are taken.
    std::string MakeDisplayName(const std::string& baseName, int ignoredIndex = -1) const;

    // --- The parts tree (every change is reported to the observer) ---

    const PartsTree& Tree() const { return tree; }
    // Selects item as the user would; runs the selection-change reaction when
    // the selection changes.
    void SelectTreeItem(TreeItem item);
    void SetTreeItemChecked(TreeItem item, bool checked);
    void SetTreeItemText(TreeItem item, const std::string& text);

    // The Part at index, or nullptr outside the array.
    Part* PartAt(int index);
    const Part* PartAt(int index) const;
    int PartCount() const { return static_cast<int>(parts.size()); }

    // --- Fields ---

    // All Parts in creation order; a parent always precedes its children.
    std::vector<std::unique_ptr<Part>> parts;
    // The root entry "root": first top-level tree item, never counted or saved.
    Part rootPart;
    // Index of the Part selected in the tree; -1 when "root" is selected.
    int currentPart = -1;
    // All Motions in creation order; each has one track per Part.
    std::vector<Motion> motions;
    // Index of the selected Motion, -1 when there is none.
    int currentMotion = -1;
    // The current frame of the current Motion.
    int currentFrame = 0;
    // Set while a Motion plays back; editing commands and undo are disabled then.
    bool isPlaying = false;
    // The mesh manager; every Part's mesh is registered with it.
    CMeshBase meshBase;
    // Full path of the project file last opened or saved; "" when none.
    std::string projectPath;
    // The file name of projectPath, shown in the title.
    std::string projectFileName = UNTITLED_PROJECT_NAME;
    // Folder of the last object file added; "" for the current folder.
    std::string addObjectDirectory;
    // Built by UpdateTitle.
    std::string titleText;
    int totalFaces = 0;
    int totalMeshes = 0;
    // The four views, their cameras and the shared view settings (grid width included).
    ViewState viewState;
    // Undo and redo of the Parts' poses.
    PoseHistory poseHistory{*this};
    // The transform panel's fields and its "左右連動" flag.
    TransformPanelState transformPanel;
    // Why the last AddPartFromFile or LoadProject could not read everything
    // (file, place, reason; one line per problem); "" when all was read.
    std::string lastLoadError;
    // Why the last SaveProject could not write everything (project file,
    // .mesh files, textures); "" when all was written.
    std::string lastSaveError;

private:
    void OnSelectionChanged();
    void DestroySubtreeMeshes(TreeItem item);

    PartsTree tree;
    SceneObserver silentObserver;
    SceneObserver* observer = &silentObserver;
};
