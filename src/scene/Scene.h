#pragma once

#include "io/Outcome.h"
#include "meshlib/CMeshBase.h"
#include "scene/DetachedParts.h"
#include "math/LengthUnit.h"
#include "scene/Motion.h"
#include "scene/Part.h"
#include "scene/PartMove.h"
#include "scene/PartsTree.h"
#include "scene/TreeChange.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace m3d {

// Text shown in the title before a project was opened or saved.
extern const char* const kUntitledProjectName;  // "名称未設定"

// A mesh made from an object file: empty when the file could not be read,
// and loaded then names the file and the reason.
struct ObjectMesh {
    std::unique_ptr<CMesh> mesh;
    Outcome loaded;
};

// A Part added from an object file: index is the new Part's, which exists
// even when the file could not be read (its mesh is then empty and loaded
// says why).
struct AddedPart {
    int index = -1;
    Outcome loaded;
};

// The two names of a Part: baseName names its files and is unique among the
// Parts ignoring the case of ASCII letters; displayName is shown and unique.
struct PartNames {
    std::string baseName;
    std::string displayName;
};

// The model being edited: the Parts and their tree, the Motions, the mesh
// manager and the names of the current project. It knows nothing of the
// editing session (selection, history, views); every change of the tree is
// reported to onTreeChange.
class Scene {
public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Receives every later change of the tree; empty for none.
    std::function<void(const TreeChange&)> onTreeChange;

    // --- Parts ---

    // Loads an object file (.mqo or .mesh, either separator) as a new Part under
    // the tree's selected item (checked, not selected). A file that cannot be
    // read still yields a Part with an empty mesh, and the result says why.
    // Every Motion gets a track for it with its current pose as the frame-0 key.
    AddedPart AddPartFromFile(const std::string& path);
    // A new mesh registered with meshBase holding the object file at path;
    // when the file cannot be read the mesh is empty and the result says why.
    ObjectMesh LoadObjectMesh(const std::string& path);
    // A new empty mesh registered with meshBase, for geometry from memory.
    std::unique_ptr<CMesh> NewMesh();
    // AddPartFromFile with the mesh already loaded from path (by LoadObjectMesh).
    int AddPartWithMesh(const std::string& path, std::unique_ptr<CMesh> mesh);
    // The first half of AddPartWithMesh, for adding many Parts in a row (a
    // project being opened): appends a checked Part for the object file at
    // path, holding mesh, named names (unique: the caller's duty), under
    // Part parentIndex (-1, or any index that names no Part: under the root
    // entry), and reports it. It neither composes the world transforms nor
    // touches the Motions: one UpdateHierarchy(0) after the last Part does
    // that for all. Returns the new Part's index.
    int AppendPart(int parentIndex, const std::string& path, std::unique_ptr<CMesh> mesh, const PartNames& names);
    // Removes the Part owning item with its subtree and their tracks; the tree
    // moves its selection as PartsTree::DeleteItem says. Returns 0 (and
    // changes nothing) for the root entry's item or an item of no Part.
    int RemovePart(TreeItem item);
    // Part index and all its descendants, ascending; empty for an index of no Part.
    std::vector<int> SubtreeOf(int index) const;
    // Takes Parts indices (ascending, every descendant of each included) out
    // of the Scene with their tracks and tree items, and renumbers the rest
    // as RemovePart does; the tree moves its selection by its own rule.
    // Everything needed to put them back is returned. With no Part left the
    // mesh manager's textures are released.
    DetachedParts DetachParts(const std::vector<int>& indices);
    // Puts Parts taken out by DetachParts back at their indices, with their
    // tracks (the Motions must be those they were taken from), tree items in
    // their places and partner links, and recomposes the world transforms.
    void AttachParts(DetachedParts&& detached);
    // Gives Part move.part the parent move.newParent, moves its tree item with
    // its subtree to move.treePosition among the new parent's children
    // (reported as TreeItemMoved), renumbers the Parts by move.order (parent
    // and partner links and every Motion's tracks follow) and recomposes the
    // world transforms; poses and keys stay as they are. Returns the move that
    // takes this one back. A move that does not fit the Scene (a Part or
    // parent that does not exist, a parent inside the Part's subtree, an order
    // that is no permutation or puts a child before its parent) changes
    // nothing and returns a move whose part is -1.
    PartMove MovePart(const PartMove& move);
    // Recomposes the world transforms of Part index, of its later siblings and
    // of all their descendants; 0 recomposes the whole model. An index outside
    // the array does nothing. Parts without a mesh are composed all the same
    // (their children still get the right transform); only meshes receive it.
    void UpdateHierarchy(int index);
    // Index of the Part whose treeItem is item; -1 when none. O(1) on average:
    // the index of every Part found is remembered and checked on use.
    int FindPartByTreeItem(TreeItem item) const;
    // FindPartByTreeItem of the tree's selected item.
    int SelectedPartIndex() const;
    // World matrix of Part index as composition gives it (the mesh's matrix when
    // it has one). Identity for an index outside the array.
    Matrix4 WorldMatrixOf(int index) const;
    // Removes all Parts and all Motions and forgets the length unit; the root
    // entry and the project's names stay. The tree and its reports are those of RemovePart on every
    // top-level Part, the last one first; the whole costs O(Parts).
    void ClearScene();
    // Every Part's mesh (null for a Part without one), in Part order.
    std::vector<const CMesh*> Meshes() const;
    // Gives a Part a display name (baseName, or the first free "%s%05d") not
    // used by any other Part; "" when all 100000 numbered names are taken.
    std::string MakeDisplayName(const std::string& baseName, int ignoredIndex = -1) const;
    // The names of a Part made from the object file at path: the file's name
    // (PartBaseNameOf) in its stored form (StorableFileName) as its baseName,
    // which other Parts may have too (a model added twice shares its file
    // while the meshes stay the same: NameMeshFiles), and a display name no
    // Part but ignoredIndex has.
    PartNames MakePartNames(const std::string& wanted, int ignoredIndex = -1) const;
    // The names of Parts made one after another from another program's
    // nodes: as MakePartNames, but with base names numbered as display
    // names are when another Part has them in any letter case, since nodes
    // of one name are rarely one mesh. The Parts there are are read once,
    // not once a name.
    std::vector<PartNames> MakePartNamesInOrder(const std::vector<std::string>& wanted, int ignoredIndex = -1) const;

    // --- The parts tree (every change is reported to onTreeChange) ---

    const PartsTree& Tree() const { return tree; }
    // Selects item in the tree (kNoTreeItem or an unknown handle: none).
    // true when the selection changed. The reaction to it is the session's.
    bool SelectTreeItem(TreeItem item);
    void SetTreeItemChecked(TreeItem item, bool checked);
    void SetTreeItemText(TreeItem item, const std::string& text);

    // The Part at index, or nullptr outside the array.
    Part* PartAt(int index);
    const Part* PartAt(int index) const;
    int PartCount() const { return static_cast<int>(parts.size()); }
    // All Parts in creation order; a parent always precedes its children. The
    // set and order of the Parts change only through the functions above; the
    // Parts' own fields (pose, names, links) stay editable through the
    // pointers, as the pose operations need.
    const std::vector<std::unique_ptr<Part>>& Parts() const { return parts; }

    // --- Motions and the mesh manager ---

    // All Motions in creation order; each has one track per Part (ModelRules.h).
    const std::vector<Motion>& Motions() const { return motions; }
    int MotionCount() const { return static_cast<int>(motions.size()); }
    // The Motion at index, which must be within 0 ... MotionCount() - 1 (unchecked).
    const Motion& MotionAt(int index) const { return motions[static_cast<size_t>(index)]; }
    // The Motion at index for editing its keys, length or name, or nullptr
    // outside the array; its tracks must keep the rules of ModelRules.h.
    Motion* EditMotion(int index)
    {
        return index >= 0 && index < MotionCount() ? &motions[static_cast<size_t>(index)] : nullptr;
    }
    // Appends motion (one track per Part) and returns its index.
    int AppendMotion(Motion motion);
    // Removes Motion index; false (and nothing changes) outside the array.
    bool RemoveMotion(int index);
    // The mesh manager; every Part's mesh is registered with it.
    const CMeshBase& MeshBase() const { return meshBase; }
    // The window's settings of the mesh manager: the device meshes draw
    // through (nullptr before it goes away; CMeshBase::Init), the textures'
    // memory budget and where texture loading reports (not owned).
    void SetRenderDevice(RenderDevice* device) { meshBase.Init(device); }
    void SetTextureBudget(uint64_t bytes) { meshBase.SetTextureBudget(bytes); }
    void SetTextureProgress(TaskProgress* progress) { meshBase.SetTaskProgress(progress); }
    // CMeshBase::TakeNewTextureProblems: the textures the last loads could not use.
    std::vector<const _MESHBASE_TEXTURE*> TakeNewTextureProblems() { return meshBase.TakeNewTextureProblems(); }

    // --- Direct access for scene/ and editor/ alone ---
    // The containers themselves, for the model's own operations and the
    // editor's commands and undo steps, which keep the rules of ModelRules.h.
    // Code elsewhere uses the functions above (tools/check_model_access.py
    // fails the tests otherwise); tests and benchmarks may use these to build
    // models.
    std::vector<std::unique_ptr<Part>>& MutableParts() { return parts; }
    std::vector<Motion>& MutableMotions() { return motions; }
    CMeshBase& MutableMeshBase() { return meshBase; }

    // --- Fields ---

    // The root entry "root": first top-level tree item, never counted or saved.
    Part rootPart;
    // Full path of the project file last opened or saved; "" when none.
    std::string projectPath;
    // The file name of projectPath, shown in the title.
    std::string projectFileName = kUntitledProjectName;
    // Folder of the last object file added; "" for the current folder.
    std::string addObjectDirectory;
    // What one unit of the model's lengths is in metres (LengthUnit.h); saved
    // with the project, unknown again after ClearScene.
    double metresPerUnit = kUnknownLengthUnit;

private:
    void Report(const TreeChange& change) const;
    // Every Motion gets a track for the newly appended Part, holding its
    // current pose as its frame-0 key; no other key changes.
    void AddTrackForNewPart();

    // All Parts in creation order; a parent always precedes its children.
    std::vector<std::unique_ptr<Part>> parts;
    // All Motions in creation order; each has one track per Part.
    std::vector<Motion> motions;
    // The mesh manager; every Part's mesh is registered with it.
    CMeshBase meshBase;
    PartsTree tree;
    // Tree item -> index of its Part, as last known; an entry is trusted only
    // while the Part at that index still has that item.
    mutable std::unordered_map<TreeItem, int> partIndexOfItem;
};

}  // namespace m3d
