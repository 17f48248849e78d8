#include "editor/PartCommands.h"

#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/ModelImportCommands.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/PartLinksChange.h"
#include "editor/history/PartSetChange.h"
#include "editor/history/PartSwapChange.h"
#include "foreign/ForeignFormats.h"
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

Outcome AddObject(EditorSession& session, const std::string& path)
{
    // Loaded before anything changes, so that a file that cannot be read
    // leaves no empty Part behind.
    ObjectMesh object = session.GetScene().LoadObjectMesh(path);
    if (!object.loaded) return object.loaded;
    DocumentEdit edit(session, EditorCommand::AddPart);
    AddSelectedPart(session, edit, path, std::move(object.mesh));
    edit.Commit();
    session.UpdateTitle();
    return Outcome();
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

ObjectSwap SwapCurrentObject(EditorSession& session, const std::string& path)
{
    Scene& scene = session.GetScene();
    const int current = session.CurrentPart();
    Part* part = scene.PartAt(current);
    if (!part) return {};
    // The old geometry goes only once the new one has loaded.
    ObjectMesh object = path.empty() ? ObjectMesh() : scene.LoadObjectMesh(path);
    std::unique_ptr<CMesh>& mesh = object.mesh;
    if (mesh && object.loaded) {
        DocumentEdit edit(session, EditorCommand::SwapPart);
        const bool sameContent = part->mesh && part->mesh->ContentDigest() == mesh->ContentDigest();
        PartNames names = scene.MakePartNames(path, current);
        const bool sameName = part->baseName == names.baseName;
        // The old geometry waits in the history, out of the mesh manager.
        if (part->mesh) scene.MutableMeshBase().RemoveMesh(part->mesh.get());
        edit.Add(std::make_unique<PartSwapChange>(current, std::move(part->mesh), part->baseName, part->displayName,
                                                  sameContent, sameName));
        part->mesh = std::move(mesh);
        // The Part's own old names no longer count as taken.
        part->baseName = std::move(names.baseName);
        part->displayName = std::move(names.displayName);
        scene.SetTreeItemText(part->treeItem, part->displayName);
        scene.UpdateHierarchy(0);
        session.ShowCurrentTransform();
    }
    session.UpdateTitle();
    return {true, std::move(object.loaded)};
}

std::string MirroredPartDefaultName(const EditorSession& session)
{
    const Part* part = session.GetScene().PartAt(session.CurrentPart());
    return part ? part->baseName + "(2)" : std::string();
}

MirroredPartOutcome AddMirroredPart(EditorSession& session, const std::string& name)
{
    Scene& scene = session.GetScene();
    const int source = session.CurrentPart();
    if (!scene.PartAt(source)) return {MirroredPartResult::NothingSelected, {}};
    // The Part will be named after its file, which loses everything from the
    // first '.', so the checks are on what is left.
    const std::string base = PartBaseNameOf(name);
    switch (CheckPartName(scene, name, -1)) {
    case PartNameProblem::Invalid: return {MirroredPartResult::NameInvalid, {}};
    case PartNameProblem::Taken: return {MirroredPartResult::NameTaken, {}};
    case PartNameProblem::NotSavable: return {MirroredPartResult::NameNotSavable, {}};
    case PartNameProblem::Folded: return {MirroredPartResult::NameFolded, {}};
    case PartNameProblem::None: break;
    }
    // Projects find their object files ignoring case, so a file differing
    // only in case would be taken for this one, and replacing it loses data.
    const std::string directory = scene.addObjectDirectory.empty() ? "." : scene.addObjectDirectory;
    if (FindFileIgnoringCase(directory, base + ".mesh")) return {MirroredPartResult::FileExists, {}};

    const std::string file = scene.addObjectDirectory.empty()
                                 ? base + ".mesh"
                                 : (std::filesystem::path(scene.addObjectDirectory) / (base + ".mesh")).string();
    CMesh* sourceMesh = scene.Parts()[source]->mesh.get();
    if (!sourceMesh)
        return {MirroredPartResult::FileNotWritten, Outcome::Failure(file + ": the Part has no geometry to mirror")};
    if (Outcome written = sourceMesh->SaveMirrorMeshFile(file); !written)
        return {MirroredPartResult::FileNotWritten, std::move(written)};
    ObjectMesh object = scene.LoadObjectMesh(file);
    if (!object.loaded) {
        // Nobody else's file: it was not there a moment ago.
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return {MirroredPartResult::FileNotRead, std::move(object.loaded)};
    }

    // The copy goes to the other side: under the partner of S's parent when there is one.
    int parent = scene.Parts()[source]->parentIndex;
    if (const Part* p = scene.PartAt(parent); p && scene.PartAt(p->symmetryIndex)) parent = p->symmetryIndex;
    session.SelectPart(parent);

    DocumentEdit edit(session, EditorCommand::AddMirroredPart);
    const int added = AddSelectedPart(session, edit, file, std::move(object.mesh));
    const std::vector<int> partners = PartnersOf(scene);
    Part& mirrored = *scene.Parts()[added];
    const Part& original = *scene.Parts()[source];
    mirrored.localPosition = MirrorPosition(original.localPosition);
    mirrored.localMatrix = MirrorRotation(original.localMatrix);
    scene.UpdateHierarchy(added);
    mirrored.symmetryIndex = source;
    scene.Parts()[source]->symmetryIndex = added;
    edit.Add(std::make_unique<PartLinksChange>(PartnerDifferences(partners, scene)));
    edit.Commit();
    session.ShowCurrentTransform();
    session.UpdateTitle();
    return {MirroredPartResult::Added, {}};
}

DroppedFileAction DroppedFileActionFor(const std::vector<std::string>& paths, bool asModel)
{
    if (paths.size() != 1) return DroppedFileAction::Ignored;
    const std::string name = FileNameOf(paths[0]);
    if (name.find(".anm") != std::string::npos) return DroppedFileAction::OpenProject;
    if (name.find(".mesh") != std::string::npos || name.find(".mqo") != std::string::npos)
        return DroppedFileAction::AddObject;
    if (ForeignReaderOf(name)) return asModel ? DroppedFileAction::ImportModel : DroppedFileAction::AddObject;
    return DroppedFileAction::Ignored;
}

DropOutcome DropFiles(EditorSession& session, UserPrompt& prompt, const std::vector<std::string>& paths, bool asModel)
{
    DropOutcome drop;
    drop.action = DroppedFileActionFor(paths, asModel);
    if (drop.action == DroppedFileAction::OpenProject) {
        if (!session.History().IsModified() || AskDiscardCurrentData(prompt)) {
            ProjectLoad load = OpenProject(session, paths[0], ProjectOpening::Editing);
            ShowProjectLoadNotes(load, prompt);
            drop.read = std::move(load.outcome);
        }
    } else if (drop.action == DroppedFileAction::AddObject) {
        drop.read = AddObject(session, paths[0]);
    } else if (drop.action == DroppedFileAction::ImportModel) {
        const Expected<ModelImport> import = ImportModelCommand(session, paths[0], {});
        drop.read = import.Status();
        if (import) ShowModelImportNotes(*import, prompt);
    }
    return drop;
}

}  // namespace m3d
