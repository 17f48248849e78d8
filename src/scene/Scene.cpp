#include "scene/Scene.h"

#include "io/PathLookup.h"
#include "scene/ObjectFileLoading.h"
#include "scene/UniqueNames.h"
#include "text/StoredName.h"
#include "text/UiText.h"

#include <atomic>

namespace m3d {

const char* const kUntitledProjectName = QT_TRANSLATE_NOOP("core", "名称未設定");

Scene::Scene()
{
    rootPart.baseName = "root";
    rootPart.displayName = "root";
    rootPart.parentIndex = -2;
    rootPart.treeItem = tree.InsertItem(kNoTreeItem, rootPart.displayName);
    tree.SetChecked(rootPart.treeItem, true);
    tree.Select(rootPart.treeItem);
}

Scene::~Scene()
{
    // Meshes deregister from the mesh manager when destroyed, so they go first.
    parts.clear();
}

void Scene::Report(const TreeChange& change) const
{
    if (onTreeChange) onTreeChange(change);
}

Part* Scene::PartAt(int index) { return index >= 0 && index < PartCount() ? parts[index].get() : nullptr; }

const Part* Scene::PartAt(int index) const { return index >= 0 && index < PartCount() ? parts[index].get() : nullptr; }

int Scene::AppendMotion(Motion motion)
{
    motions.push_back(std::move(motion));
    return MotionCount() - 1;
}

bool Scene::RemoveMotion(int index)
{
    if (index < 0 || index >= MotionCount()) return false;
    motions.erase(motions.begin() + index);
    return true;
}

int Scene::FindPartByTreeItem(TreeItem item) const
{
    if (item == kNoTreeItem || item == rootPart.treeItem) return -1;
    const auto known = partIndexOfItem.find(item);
    if (known != partIndexOfItem.end() && known->second < PartCount() && parts[known->second]->treeItem == item)
        return known->second;
    // The Parts changed since the index was made (or item names none): learn them all again.
    int found = -1;
    partIndexOfItem.clear();
    for (int i = 0; i < PartCount(); ++i) {
        partIndexOfItem[parts[i]->treeItem] = i;
        if (parts[i]->treeItem == item && found < 0) found = i;
    }
    return found;
}

int Scene::SelectedPartIndex() const { return FindPartByTreeItem(tree.GetSelected()); }

std::string Scene::MakeDisplayName(const std::string& baseName, int ignoredIndex) const
{
    UniqueNames taken(NameCase::Exact);
    for (int i = 0; i < PartCount(); ++i)
        if (i != ignoredIndex) taken.Add(parts[i]->displayName);
    return taken.Next(baseName);
}

PartNames Scene::MakePartNames(const std::string& wanted, int ignoredIndex) const
{
    std::string baseName = StorableFileName(PartBaseNameOf(wanted));
    std::string displayName = MakeDisplayName(baseName, ignoredIndex);
    return {std::move(baseName), std::move(displayName)};
}

std::vector<PartNames> Scene::MakePartNamesInOrder(const std::vector<std::string>& wanted, int ignoredIndex) const
{
    UniqueNames baseNames(NameCase::IgnoreAscii), displayNames(NameCase::Exact);
    for (int i = 0; i < PartCount(); ++i)
        if (i != ignoredIndex) {
            baseNames.Add(parts[i]->baseName);
            displayNames.Add(parts[i]->displayName);
        }
    std::vector<PartNames> names;
    names.reserve(wanted.size());
    for (const std::string& name : wanted) {
        std::string baseName = baseNames.Next(StorableFileName(PartBaseNameOf(name)));
        std::string displayName = displayNames.Next(baseName);
        // The Parts named before count as there, whatever names they got.
        baseNames.Add(baseName);
        displayNames.Add(displayName);
        names.push_back({std::move(baseName), std::move(displayName)});
    }
    return names;
}

uint64_t NewPartId()
{
    static std::atomic<uint64_t> last{0};
    return ++last;
}

std::string PartBaseNameOf(const std::string& path)
{
    const std::string fileName = FileNameOf(path);
    return fileName.substr(0, fileName.find('.'));
}

void SetMeshWorld(Part& part, const Matrix4& world)
{
    if (!part.mesh) return;
    part.mesh->SetMatrix(world);
    part.mesh->SetPosition(world.Translation());
}

bool Scene::SelectTreeItem(TreeItem item) { return tree.Select(item); }

std::vector<const CMesh*> Scene::Meshes() const
{
    std::vector<const CMesh*> meshes;
    meshes.reserve(parts.size());
    for (const auto& part : parts) meshes.push_back(part->mesh.get());
    return meshes;
}

void Scene::SetTreeItemChecked(TreeItem item, bool checked)
{
    if (!tree.Contains(item)) return;
    tree.SetChecked(item, checked);
    Report(TreeItemChecked{item, checked});
}

void Scene::SetTreeItemText(TreeItem item, const std::string& text)
{
    if (!tree.Contains(item)) return;
    tree.SetText(item, text);
    Report(TreeItemRenamed{item, text});
}

AddedPart Scene::AddPartFromFile(const std::string& path)
{
    ObjectMesh object = LoadObjectMesh(path);
    const int index = AddPartWithMesh(path, std::move(object.mesh));
    return {index, std::move(object.loaded)};
}

std::unique_ptr<CMesh> Scene::NewMesh()
{
    auto mesh = std::make_unique<CMesh>();
    meshBase.InitMesh(mesh.get(), 1);
    return mesh;
}

ObjectMesh Scene::LoadObjectMesh(const std::string& path)
{
    std::unique_ptr<CMesh> mesh = NewMesh();
    Outcome loaded = LoadObjectFile(*mesh, path);
    return {std::move(mesh), std::move(loaded)};
}

int Scene::AddPartWithMesh(const std::string& path, std::unique_ptr<CMesh> mesh)
{
    const int added = AppendPart(SelectedPartIndex(), path, std::move(mesh), MakePartNames(path));
    UpdateHierarchy(0);
    AddTrackForNewPart();
    return added;
}

int Scene::AppendPart(int parentIndex, const std::string& path, std::unique_ptr<CMesh> mesh, const PartNames& names)
{
    auto part = std::make_unique<Part>();
    part->mesh = std::move(mesh);
    const Part* parent = PartAt(parentIndex);
    part->parentIndex = parent ? parentIndex : -1;
    part->baseName = names.baseName;
    part->displayName = names.displayName;

    const TreeItem parentItem = parent ? parent->treeItem : rootPart.treeItem;
    part->treeItem = tree.InsertItem(parentItem, part->displayName);
    Report(TreeItemInserted{part->treeItem, parentItem, part->displayName});
    SetTreeItemChecked(part->treeItem, true);

    partIndexOfItem[part->treeItem] = PartCount();
    parts.push_back(std::move(part));
    addObjectDirectory = DirectoryOf(path);
    return PartCount() - 1;
}

void Scene::ClearScene()
{
    // Each top-level item goes with its subtree, the last first, so the tree
    // moves its selection as RemovePart would; the Parts then go all at once
    // (one RemovePart each would renumber the survivors every time).
    for (int i = PartCount() - 1; i >= 0; --i) {
        const TreeItem item = parts[i]->treeItem;
        if (parts[i]->parentIndex != -1 || !tree.Contains(item)) continue;
        tree.DeleteItem(item);
        Report(TreeItemRemoved{item});
    }
    // Meshes deregister from the mesh manager as they go; the newest first is the cheapest.
    while (!parts.empty()) parts.pop_back();
    motions.clear();
    meshBase.Release();
    metresPerUnit = kUnknownLengthUnit;
}

void Scene::AddTrackForNewPart()
{
    // Only the new Part's track gets a key: the other Parts' keys are the
    // user's animation and stay as they are.
    const Part& added = *parts.back();
    for (Motion& motion : motions) {
        motion.tracks.resize(parts.size());
        motion.tracks.back().SetKeyMatrix(0, KeyMatrixOf(added.localMatrix, added.localPosition));
    }
}

}  // namespace m3d
