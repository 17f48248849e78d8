#include "scene/PartCommands.h"

#include "io/PathLookup.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"
#include "view/PartPlacement.h"

#include <filesystem>

const char* const OBJECT_FILE_FILTER_NAME = "ﾒﾀｾｺｲｱｵﾌﾞｼﾞｪｸﾄ(*.mqo)/最適化ﾒｯｼｭ(*.mesh)";
const char* const OBJECT_FILE_PATTERN = "*.mqo;*.mesh";
const char* const ADD_OBJECT_DIALOG_TITLE = "オブジェクトを追加";
const char* const SWAP_OBJECT_DIALOG_TITLE = "オブジェクトを入れ替え";
const char* const MIRRORED_NAME_TAKEN_TEXT = "同じオブジェクト名が存在します";
const char* const MIRRORED_NAME_TAKEN_CAPTION = "caution";
const char* const MIRRORED_NAME_INVALID_TEXT = "オブジェクト名が空か、使えない文字（/ \\）を含んでいます";

namespace {

// The object file's name without folder, cut at its first '.'.
std::string BaseNameOf(const std::string& path)
{
    const std::string fileName = FileNameOf(path);
    return fileName.substr(0, fileName.find('.'));
}

}  // namespace

void AddObject(Scene& scene, const std::string& path)
{
    scene.AddPartFromFile(path);
    scene.poseHistory.RestartHistory();
    scene.UpdateTitle();
}

void DeleteCurrentPart(Scene& scene)
{
    scene.RemovePart(scene.Tree().GetSelected());
    scene.UpdateTitle();
    scene.poseHistory.RestartHistory();
}

bool SwapCurrentObject(Scene& scene, const std::string& path)
{
    Part* part = scene.PartAt(scene.currentPart);
    if (!part) return false;
    if (!path.empty()) {
        part->mesh = std::make_unique<CMesh>();
        scene.meshBase.InitMesh(part->mesh.get(), 1);
        scene.lastLoadError = part->mesh->LoadObject(path, 1.0f) ? std::string() : part->mesh->GetLastError();
        part->baseName = BaseNameOf(path);
        // The Part's own old name no longer counts as taken.
        part->displayName = scene.MakeDisplayName(part->baseName, scene.currentPart);
        scene.SetTreeItemText(part->treeItem, part->displayName);
        scene.UpdateHierarchy(0);
    }
    scene.Observer().MotionPanelNeedsRefresh();
    scene.UpdateTitle();
    return true;
}

std::string MirroredPartDefaultName(const Scene& scene)
{
    const Part* part = scene.PartAt(scene.currentPart);
    return part ? part->baseName + "(2)" : std::string();
}

MirroredPartResult AddMirroredPart(Scene& scene, const std::string& name)
{
    const int source = scene.currentPart;
    if (!scene.PartAt(source)) return MIRRORED_PART_NOTHING_SELECTED;
    // The name becomes a file name inside addObjectDirectory; a separator
    // would put the file somewhere else.
    if (name.empty() || name.find_first_of("/\\") != std::string::npos) return MIRRORED_NAME_INVALID;
    for (const auto& part : scene.parts)
        if (part->baseName == name) return MIRRORED_NAME_TAKEN;

    const std::string file =
        scene.addObjectDirectory.empty()
            ? name + ".mesh"
            : (std::filesystem::path(scene.addObjectDirectory) / (name + ".mesh")).string();
    // A file that cannot be written shows up as the new Part's load error.
    if (CMesh* mesh = scene.parts[source]->mesh.get()) mesh->SaveMirrorMeshFile(file);

    // The copy goes to the other side: under the partner of S's parent when there is one.
    int parent = scene.parts[source]->parentIndex;
    if (const Part* p = scene.PartAt(parent); p && scene.PartAt(p->symmetryIndex)) parent = p->symmetryIndex;
    scene.currentPart = scene.parts[source]->parentIndex;
    scene.SelectTreeItem(parent >= 0 ? scene.parts[parent]->treeItem : scene.rootPart.treeItem);
    scene.UpdateTitle();

    scene.AddPartFromFile(file);
    const int added = scene.PartCount() - 1;
    Part& mirrored = *scene.parts[added];
    const Part& original = *scene.parts[source];
    mirrored.localPosition = {-original.localPosition.x, original.localPosition.y, original.localPosition.z};
    mirrored.localMatrix = MirrorRotation(original.localMatrix);
    scene.UpdateHierarchy(added);
    mirrored.symmetryIndex = source;
    scene.parts[source]->symmetryIndex = added;
    scene.poseHistory.RestartHistory();
    scene.UpdateTitle();
    return MIRRORED_PART_ADDED;
}

DroppedFileAction DroppedFileActionFor(const std::vector<std::string>& paths)
{
    if (paths.size() != 1) return DROP_IGNORED;
    const std::string name = FileNameOf(paths[0]);
    if (name.find(".anm") != std::string::npos) return DROP_OPEN_PROJECT;
    if (name.find(".mesh") != std::string::npos || name.find(".mqo") != std::string::npos) return DROP_ADD_OBJECT;
    return DROP_IGNORED;
}

DroppedFileAction DropFiles(Scene& scene, UserPrompt& prompt, const std::vector<std::string>& paths)
{
    const DroppedFileAction action = DroppedFileActionFor(paths);
    if (action == DROP_OPEN_PROJECT) {
        if (prompt.AskYesNo("現在のデータは失われます。よろしいですか？", "新規作成")) OpenProject(scene, paths[0]);
    } else if (action == DROP_ADD_OBJECT) {
        AddObject(scene, paths[0]);
    }
    return action;
}
