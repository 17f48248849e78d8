#include "editor/PartCommands.h"

#include "editor/FileCommands.h"
#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/PartLinksChange.h"
#include "editor/history/PartSetChange.h"
#include "editor/history/PartSwapChange.h"
#include "io/PathLookup.h"
#include "scene/PartPlacement.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <filesystem>
#include <memory>

namespace m3d {

const char* const kObjectFileFilterName = QT_TRANSLATE_NOOP("core", "ﾒﾀｾｺｲｱｵﾌﾞｼﾞｪｸﾄ(*.mqo)/最適化ﾒｯｼｭ(*.mesh)");
const char* const kObjectFilePattern = "*.mqo;*.mesh";
const char* const kAddObjectDialogTitle = QT_TRANSLATE_NOOP("core", "オブジェクトを追加");
const char* const kSwapObjectDialogTitle = QT_TRANSLATE_NOOP("core", "オブジェクトを入れ替え");
const char* const kMirroredFileExistsText = QT_TRANSLATE_NOOP("core", "同じ名前のファイルが存在します");

namespace {

// Adds the loaded mesh of the object file at path as a Part under the
// selected item, records that in edit, and selects it.
int AddSelectedPart(EditorSession& session, DocumentEdit& edit, const std::string& path, std::unique_ptr<CMesh> mesh)
{
    Scene& scene = session.GetScene();
    edit.PoseBeforePartSetChange();
    const int added = scene.AddPartWithMesh(path, std::move(mesh));
    edit.Add(PartSetChange::Added({added}));
    edit.PartSetChanged();
    session.SelectPart(added);
    session.ShowCurrentTransform();
    return added;
}

}  // namespace

bool AddObject(EditorSession& session, const std::string& path)
{
    // Loaded before anything changes, so that a file that cannot be read
    // leaves no empty Part behind.
    std::unique_ptr<CMesh> mesh = session.GetScene().LoadObjectMesh(path);
    if (!session.GetScene().lastLoadError.empty()) return false;
    DocumentEdit edit(session, EditorCommand::AddPart);
    AddSelectedPart(session, edit, path, std::move(mesh));
    edit.Commit();
    session.UpdateTitle();
    return true;
}

void DeleteCurrentPart(EditorSession& session)
{
    Scene& scene = session.GetScene();
    const int current = session.CurrentPart();
    if (current >= 0) {
        DocumentEdit edit(session, EditorCommand::DeletePart);
        edit.PoseBeforePartSetChange();
        edit.Add(PartSetChange::Removed(scene.DetachParts(scene.SubtreeOf(current))));
        edit.PartSetChanged();
    }
    session.SelectionMayHaveChanged();
    session.UpdateTitle();
}

bool SwapCurrentObject(EditorSession& session, const std::string& path)
{
    Scene& scene = session.GetScene();
    const int current = session.CurrentPart();
    Part* part = scene.PartAt(current);
    if (!part) return false;
    scene.lastLoadError.clear();
    // The old geometry goes only once the new one has loaded.
    std::unique_ptr<CMesh> mesh = path.empty() ? nullptr : scene.LoadObjectMesh(path);
    if (mesh && scene.lastLoadError.empty()) {
        DocumentEdit edit(session, EditorCommand::SwapPart);
        const bool sameContent = part->mesh && part->mesh->ContentDigest() == mesh->ContentDigest();
        const bool sameName = part->baseName == PartBaseNameOf(path);
        // The old geometry waits in the history, out of the mesh manager.
        if (part->mesh) scene.meshBase.RemoveMesh(part->mesh.get());
        edit.Add(std::make_unique<PartSwapChange>(current, std::move(part->mesh), part->baseName, part->displayName,
                                                  sameContent, sameName));
        part->mesh = std::move(mesh);
        part->baseName = PartBaseNameOf(path);
        // The Part's own old name no longer counts as taken.
        part->displayName = scene.MakeDisplayName(part->baseName, current);
        scene.SetTreeItemText(part->treeItem, part->displayName);
        scene.UpdateHierarchy(0);
        session.ShowCurrentTransform();
    }
    session.UpdateTitle();
    return true;
}

std::string MirroredPartDefaultName(const EditorSession& session)
{
    const Part* part = session.GetScene().PartAt(session.CurrentPart());
    return part ? part->baseName + "(2)" : std::string();
}

MirroredPartResult AddMirroredPart(EditorSession& session, const std::string& name)
{
    Scene& scene = session.GetScene();
    const int source = session.CurrentPart();
    if (!scene.PartAt(source)) return MirroredPartResult::NothingSelected;
    // The Part will be named after its file, which loses everything from the
    // first '.', so the checks are on what is left.
    const std::string base = PartBaseNameOf(name);
    switch (CheckPartName(scene, name, -1)) {
    case PartNameProblem::Invalid: return MirroredPartResult::NameInvalid;
    case PartNameProblem::Taken: return MirroredPartResult::NameTaken;
    case PartNameProblem::NotSavable: return MirroredPartResult::NameNotSavable;
    case PartNameProblem::None: break;
    }
    // Projects find their object files ignoring case, so a file differing
    // only in case would be taken for this one, and replacing it loses data.
    const std::string directory = scene.addObjectDirectory.empty() ? "." : scene.addObjectDirectory;
    if (FindFileIgnoringCase(directory, base + ".mesh")) return MirroredPartResult::FileExists;

    const std::string file = scene.addObjectDirectory.empty()
                                 ? base + ".mesh"
                                 : (std::filesystem::path(scene.addObjectDirectory) / (base + ".mesh")).string();
    CMesh* sourceMesh = scene.parts[source]->mesh.get();
    if (!sourceMesh || !sourceMesh->SaveMirrorMeshFile(file)) {
        scene.lastSaveError = sourceMesh ? sourceMesh->GetLastError() : file + ": the Part has no geometry to mirror";
        return MirroredPartResult::FileNotWritten;
    }
    std::unique_ptr<CMesh> mesh = scene.LoadObjectMesh(file);
    if (!scene.lastLoadError.empty()) {
        // Nobody else's file: it was not there a moment ago.
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return MirroredPartResult::FileNotRead;
    }

    // The copy goes to the other side: under the partner of S's parent when there is one.
    int parent = scene.parts[source]->parentIndex;
    if (const Part* p = scene.PartAt(parent); p && scene.PartAt(p->symmetryIndex)) parent = p->symmetryIndex;
    session.SelectPart(parent);

    DocumentEdit edit(session, EditorCommand::AddMirroredPart);
    const int added = AddSelectedPart(session, edit, file, std::move(mesh));
    const std::vector<int> partners = PartnersOf(scene);
    Part& mirrored = *scene.parts[added];
    const Part& original = *scene.parts[source];
    mirrored.localPosition = MirrorPosition(original.localPosition);
    mirrored.localMatrix = MirrorRotation(original.localMatrix);
    scene.UpdateHierarchy(added);
    mirrored.symmetryIndex = source;
    scene.parts[source]->symmetryIndex = added;
    edit.Add(std::make_unique<PartLinksChange>(PartnerDifferences(partners, scene)));
    edit.Commit();
    session.ShowCurrentTransform();
    session.UpdateTitle();
    return MirroredPartResult::Added;
}

DroppedFileAction DroppedFileActionFor(const std::vector<std::string>& paths)
{
    if (paths.size() != 1) return DroppedFileAction::Ignored;
    const std::string name = FileNameOf(paths[0]);
    if (name.find(".anm") != std::string::npos) return DroppedFileAction::OpenProject;
    if (name.find(".mesh") != std::string::npos || name.find(".mqo") != std::string::npos) return DroppedFileAction::AddObject;
    return DroppedFileAction::Ignored;
}

DroppedFileAction DropFiles(EditorSession& session, UserPrompt& prompt, const std::vector<std::string>& paths)
{
    const DroppedFileAction action = DroppedFileActionFor(paths);
    if (action == DroppedFileAction::OpenProject) {
        if (!session.History().IsModified() || AskDiscardCurrentData(prompt)) OpenProject(session, paths[0]);
    } else if (action == DroppedFileAction::AddObject) {
        AddObject(session, paths[0]);
    }
    return action;
}

}  // namespace m3d
