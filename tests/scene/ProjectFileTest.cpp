#include "anim/MotionOperations.h"
#include "editor/FileCommands.h"
#include "scene/ProjectFile.h"
#include "scene/ProjectFileFormat.h"
#include "scene/Scene.h"
#include "support/ResourceLimits.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/PartShapeCommands.h"
#include "editor/PoseCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sys/stat.h>

using namespace m3d;

namespace {

// body(0) > arm(1), leg(2) partner of body, arm again as a top-level Part (3);
// two Motions with keys.
struct SavedModel {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;

    SavedModel()
    {
        AddCubeUnder(scene, folder, -1, "body.mqo");
        AddCubeUnder(scene, folder, 0, "arm.mqo");
        AddCubeUnder(scene, folder, -1, "leg.mqo");
        AddCubeUnder(scene, folder, -1, "arm.mqo");
        scene.Parts()[0]->symmetryIndex = 2;
        scene.Parts()[2]->symmetryIndex = 0;
        NewMotionCommand(session, "walk");
        SetMotionLength(scene, 0, 40);
        SetKeyMatrix(scene, 0, 1, 20, MatrixRotationZ(0.5f) * MatrixTranslation(0, 2, 0));
        NewMotionCommand(session, "跳ぶ");
        SetKeyMatrix(scene, 1, 3, 7, MatrixTranslation(1, 2, 3));
    }
    std::string ProjectPath() const { return folder.File("model.anm"); }
};

}  // namespace

TEST(ProjectFile, SaveAndLoadKeepLinksMotionsKeysAndOneFileForAModelAddedTwice)
{
    SavedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.ProjectPath(), model.prompt));
    // The two arm Parts are one cube and share its file: nothing to ask in an empty folder.
    EXPECT_TRUE(model.prompt.asked.empty());
    EXPECT_EQ(model.scene.projectFileName, "model.anm");
    EXPECT_TRUE(model.folder.Exists("body.mesh"));
    EXPECT_TRUE(model.folder.Exists("arm.mesh"));
    EXPECT_FALSE(model.folder.Exists("arm00000.mesh"));

    EditorSession session;
    Scene& loaded = session.GetScene();
    RecordingObserver observer(session);
    const ProjectLoad load = OpenProject(session, model.ProjectPath(), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete) << load.outcome.Message();
    EXPECT_EQ(load.outcome.Message(), "");
    ASSERT_EQ(loaded.PartCount(), 4);
    const char* names[] = {"body", "arm", "leg", "arm00000"};
    const int parents[] = {-1, 0, -1, -1};
    const int partners[] = {2, -1, 0, -1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loaded.Parts()[i]->displayName, names[i]);
        EXPECT_EQ(loaded.Parts()[i]->parentIndex, parents[i]);
        EXPECT_EQ(loaded.Parts()[i]->symmetryIndex, partners[i]);
    }
    EXPECT_EQ(loaded.Parts()[3]->baseName, "arm");
    EXPECT_EQ(loaded.Tree().GetParent(loaded.Parts()[1]->treeItem), loaded.Parts()[0]->treeItem);
    ASSERT_EQ(loaded.Motions().size(), 2u);
    EXPECT_EQ(loaded.Motions()[0].name, "walk");
    EXPECT_EQ(loaded.Motions()[0].length, 40);
    EXPECT_EQ(loaded.Motions()[1].name, "跳ぶ");
    for (size_t m = 0; m < 2; ++m)
        for (size_t t = 0; t < 4; ++t) {
            const auto& a = model.scene.Motions()[m].tracks[t].keys;
            const auto& b = loaded.Motions()[m].tracks[t].keys;
            ASSERT_EQ(a.size(), b.size());
            for (size_t k = 0; k < a.size(); ++k) {
                EXPECT_EQ(a[k].frame, b[k].frame);
                EXPECT_EQ(a[k].matrix, b[k].matrix);
            }
        }
    // The last Motion is current and its frame 0 is shown.
    EXPECT_EQ(session.CurrentMotion(), 1);
    EXPECT_EQ(loaded.projectFileName, "model.anm");
    EXPECT_NE(session.TitleText().find("model.anm"), std::string::npos);
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "title " + session.TitleText()),
              observer.events.end());
    EXPECT_EQ(session.History().StepCount(), 0);
    EXPECT_FALSE(session.History().IsModified());
}

TEST(ProjectFile, ObjectFilesAreFoundIgnoringCaseAndMeshBeforeModel)
{
    SavedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.ProjectPath(), model.prompt));
    // leg.mesh is gone, a LEG.MQO of another size takes its place; body.mqo is
    // broken but body.mesh is there and is what is loaded.
    std::filesystem::remove(model.folder.File("leg.mesh"));
    std::filesystem::remove(model.folder.File("leg.mqo"));
    model.folder.Write("LEG.MQO", CubeModelText(3.0f));
    model.folder.Write("body.mqo", "not a model");

    Scene loaded;
    const ProjectLoad load = LoadProject(loaded, model.ProjectPath(), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete) << load.outcome.Message();
    EXPECT_EQ(load.outcome.Message(), "");
    // The Part keeps the name the project gives it.
    EXPECT_EQ(loaded.Parts()[2]->displayName, "leg");
    float largest = 0;
    for (int v = 0; v < loaded.Parts()[2]->mesh->GetVertexNum(); ++v)
        largest = std::max(largest, loaded.Parts()[2]->mesh->GetVertex(v)->x);
    EXPECT_FLOAT_EQ(largest, 3.0f);
}

TEST(ProjectFile, NamesStayAsTheFileHasThemAndOnlyADifferingMeshGetsAFileOfItsOwn)
{
    TempFolder folder;
    folder.Write("arm.mesh", CubeObjectFile(1.0f));
    folder.Write("ARM.mesh", CubeObjectFile(3.0f));
    const std::vector<ProjectPartRecord> records = {{"arm", -1, -1}, {"ARM", 0, -1}, {"arm", -1, -1}, {"arm", 2, -1}};
    Motion motion;
    motion.name = "m";
    motion.tracks.resize(records.size());
    for (MotionTrack& track : motion.tracks) track.keys.push_back({0, Matrix4::Identity()});
    const Expected<std::string> bytes = BuildProjectFile(records, {motion});
    ASSERT_TRUE(Succeeded(bytes));
    folder.Write("model.anm", *bytes);
    const std::string armFile = folder.Read("arm.mesh");

    EditorSession session;
    Scene& loaded = session.GetScene();
    const ProjectLoad load = OpenProject(session, folder.File("model.anm"), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete) << load.outcome.Message();
    // An exact file name wins over one in another case; display names are told apart.
    const char* baseNames[] = {"arm", "ARM", "arm", "arm"};
    const char* displayNames[] = {"arm", "ARM", "arm00000", "arm00001"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loaded.Parts()[i]->baseName, baseNames[i]) << i;
        EXPECT_EQ(loaded.Parts()[i]->displayName, displayNames[i]) << i;
    }
    EXPECT_FLOAT_EQ(loaded.Parts()[1]->mesh->GetVertex(0)->x * loaded.Parts()[1]->mesh->GetVertex(0)->x, 9.0f);
    EXPECT_EQ(loaded.Tree().GetParent(loaded.Parts()[3]->treeItem), loaded.Parts()[2]->treeItem);

    // An edit undone leaves nothing unsaved, and a save then writes the same files.
    session.SelectPart(2);
    ASSERT_TRUE(ResizePartCommand(session, 2.0f));
    UndoCommand(session);
    EXPECT_FALSE(session.History().IsModified());
    ScriptedPrompt prompt;
    prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    ASSERT_TRUE(SaveProject(loaded, folder.File("model.anm"), prompt));
    EXPECT_EQ(folder.Read("model.anm"), *bytes);
    EXPECT_EQ(folder.Read("arm.mesh"), armFile);

    // Resized, Part 2 is no longer the mesh in arm.mesh: it and its child
    // (still arm) get a file of their own, and the save says so.
    ASSERT_TRUE(ResizePartCommand(session, 2.0f));
    prompt.asked.clear();
    prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    ASSERT_TRUE(SaveProject(loaded, folder.File("model.anm"), prompt));
    EXPECT_EQ(folder.Read("arm.mesh"), armFile);
    EXPECT_EQ(loaded.Parts()[0]->baseName, "arm");
    EXPECT_EQ(loaded.Parts()[2]->baseName, "arm00000");
    EXPECT_EQ(loaded.Parts()[3]->baseName, "arm");
    ASSERT_TRUE(folder.Exists("arm00000.mesh"));
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_NE(prompt.asked.back().find("arm00000: arm.mesh -> " + folder.File("arm00000.mesh")), std::string::npos)
        << prompt.asked.back();

    Scene reloaded;
    ASSERT_TRUE(LoadProject(reloaded, folder.File("model.anm"), ProjectOpening::Editing).complete);
    EXPECT_EQ(reloaded.Parts()[2]->baseName, "arm00000");
    EXPECT_FLOAT_EQ(reloaded.Parts()[2]->mesh->GetVertex(0)->x * reloaded.Parts()[2]->mesh->GetVertex(0)->x, 4.0f);
    EXPECT_FLOAT_EQ(reloaded.Parts()[3]->mesh->GetVertex(0)->x * reloaded.Parts()[3]->mesh->GetVertex(0)->x, 1.0f);
}

TEST(ProjectFile, AProjectSavedWithFoldedNamesFindsTheFilesOfItsTypedNames)
{
    // Earlier versions wrote head〜.mesh and hand¥l.mesh beside records that
    // read back as head～ and hand\l.
    TempFolder folder;
    folder.Write("head〜.mesh", CubeObjectFile(1.0f));
    folder.Write("hand¥l.mesh", CubeObjectFile(2.0f));
    Motion motion;
    motion.name = "m";
    motion.tracks.resize(2);
    for (MotionTrack& track : motion.tracks) track.keys.push_back({0, Matrix4::Identity()});
    Expected<std::string> bytes = BuildProjectFile({{"head～", -1, -1}, {"handXl", -1, -1}}, {motion});
    ASSERT_TRUE(Succeeded(bytes));
    bytes->replace(bytes->find("handXl"), 6, "hand\\l");
    folder.Write("model.anm", *bytes);

    Scene loaded;
    const ProjectLoad load = LoadProject(loaded, folder.File("model.anm"), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete) << load.outcome.Message();
    ASSERT_EQ(loaded.PartCount(), 2);
    EXPECT_EQ(loaded.Parts()[0]->baseName, "head～");
    EXPECT_EQ(loaded.Parts()[1]->baseName, "hand￥l");
    EXPECT_FLOAT_EQ(loaded.Parts()[1]->mesh->GetVertex(0)->x * loaded.Parts()[1]->mesh->GetVertex(0)->x, 4.0f);
}

TEST(ProjectFile, MissingObjectFileStopsWithThePartsBeforeItAndNoMotions)
{
    SavedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.ProjectPath(), model.prompt));
    std::filesystem::remove(model.folder.File("leg.mesh"));
    std::filesystem::remove(model.folder.File("leg.mqo"));

    EditorSession session;
    Scene& loaded = session.GetScene();
    const ProjectLoad load = OpenProject(session, model.ProjectPath(), ProjectOpening::Editing);
    EXPECT_FALSE(load.complete);
    EXPECT_EQ(loaded.PartCount(), 2);
    EXPECT_TRUE(loaded.Motions().empty());
    EXPECT_EQ(session.CurrentMotion(), -1);
    // Body's partner was the missing leg: the link must not outlive it.
    EXPECT_EQ(loaded.Parts()[0]->symmetryIndex, -1);
    EXPECT_NE(load.outcome.Message().find("leg.mesh"), std::string::npos) << load.outcome.Message();
    EXPECT_NE(load.outcome.Message().find("Part 2"), std::string::npos);
    EXPECT_EQ(session.History().StepCount(), 0);
    EXPECT_FALSE(session.History().IsModified());
    // Saving what came in over the project would lose the rest of it.
    EXPECT_EQ(loaded.projectPath, "");
    EXPECT_EQ(session.TitleText().find("model.anm"), std::string::npos);
}

TEST(ProjectFile, BrokenObjectFileGivesAnEmptyPartAndIsNamed)
{
    SavedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.ProjectPath(), model.prompt));
    std::filesystem::remove(model.folder.File("leg.mesh"));
    model.folder.Write("leg.mqo", "garbage");
    Scene loaded;
    const ProjectLoad load = LoadProject(loaded, model.ProjectPath(), ProjectOpening::Editing);
    EXPECT_TRUE(load.complete);
    EXPECT_EQ(loaded.PartCount(), 4);
    EXPECT_EQ(loaded.Parts()[2]->mesh->GetFaceNum(), 0);
    EXPECT_NE(load.outcome.Message().find("leg.mqo"), std::string::npos) << load.outcome.Message();
    EXPECT_EQ(loaded.Motions().size(), 2u);
}

TEST(ProjectFile, DamagedOrUnreadableFileLeavesTheSceneAsItWas)
{
    SavedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.ProjectPath(), model.prompt));
    std::string bytes = model.folder.Read("model.anm");
    bytes[32] = char(0xFF);  // the Part count turns negative
    bytes[35] = char(0xFF);
    model.folder.Write("damaged.anm", bytes);

    SavedModel other;
    other.session.History().Clear();
    other.scene.Parts()[0]->localPosition.x += 1;
    other.session.History().PushUndo("edit");
    RecordingObserver observer(other.session);
    const ProjectLoad damaged = OpenProject(other.session, model.folder.File("damaged.anm"), ProjectOpening::Editing);
    EXPECT_FALSE(damaged.complete);
    EXPECT_NE(damaged.outcome.Message().find("damaged.anm: byte 32"), std::string::npos) << damaged.outcome.Message();
    EXPECT_EQ(other.scene.PartCount(), 4);
    EXPECT_EQ(other.scene.Motions().size(), 2u);
    EXPECT_EQ(other.scene.projectFileName, kUntitledProjectName);
    EXPECT_TRUE(observer.events.empty());
    EXPECT_EQ(other.session.History().StepCount(), 1);  // the undo steps survive

    const ProjectLoad absent = OpenProject(other.session, model.folder.File("absent.anm"), ProjectOpening::Editing);
    EXPECT_FALSE(absent.complete);
    EXPECT_NE(absent.outcome.Message().find("absent.anm"), std::string::npos);
    EXPECT_EQ(other.scene.PartCount(), 4);
}

TEST(ProjectFile, SaveRefusesAnEmptySceneWithItsMessages)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;
    EXPECT_FALSE(SaveProject(scene, folder.File("x.anm"), prompt));
    AddCube(scene, folder, "a.mqo");
    EXPECT_FALSE(SaveProject(scene, folder.File("x.anm"), prompt));
    scene.RemovePart(scene.Parts()[0]->treeItem);
    NewMotionCommand(session, "m");
    EXPECT_FALSE(SaveProject(scene, folder.File("x.anm"), prompt));
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"Error|モーションが存在しない", "Error|モーションが存在しない",
                                                      "Error|オブジェクトが存在しない"}));
    EXPECT_FALSE(folder.Exists("x.anm"));
    EXPECT_EQ(scene.projectPath, "");
}

TEST(ProjectFile, UnwritableTargetShowsTheOpenMessageAndKeepsThePath)
{
    SavedModel model;
    const Outcome saved = SaveProject(model.scene, model.folder.File("no/such/folder/x.anm"), model.prompt).outcome;
    EXPECT_FALSE(saved);
    // Before it, the second "arm" Part asks about the file the first one would write.
    ASSERT_FALSE(model.prompt.asked.empty());
    EXPECT_EQ(model.prompt.asked.back().rfind("Error|ファイルがオープンできない\n", 0), 0u)
        << model.prompt.asked.back();
    EXPECT_EQ(model.scene.projectPath, "");
    EXPECT_NE(saved.Message().find("x.anm"), std::string::npos);
}

// A write beyond the file size limit fails part way (EFBIG), as a full disk would.
TEST(ProjectFile, AFileThatCannotBeWrittenLeavesTheOldProjectAndEveryMeshFile)
{
    SavedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.ProjectPath(), model.prompt));
    std::map<std::string, std::string> before;
    for (const std::string& name : model.folder.Names()) before[name] = model.folder.Read(name);
    // Keys enough to make the project file the largest, written last.
    for (int frame = 1; frame < 40; ++frame) SetKeyMatrix(model.scene, 0, 1, frame, MatrixTranslation(5, 0, 0));
    model.scene.Parts()[2]->mesh->SetScale(3, 3, 3);
    model.scene.Parts()[2]->mesh->SetVB();
    ASSERT_LT(before.at("leg.mesh").size(), before.at("model.anm").size() + 39 * 68);
    // Room for every .mesh file, not for the project file after them.
    EXPECT_TRUE(RunWithFileSizeLimit(before.at("leg.mesh").size(), [&] {
        model.prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
        return !SaveProject(model.scene, model.ProjectPath(), model.prompt) &&
               model.prompt.asked.back().rfind("Error|ファイルが大きすぎるため書き込めない\n", 0) == 0;
    }));
    std::map<std::string, std::string> after;
    for (const std::string& name : model.folder.Names()) after[name] = model.folder.Read(name);
    EXPECT_TRUE(after == before);
}

TEST(ProjectFile, ManyReadOnlyFilesAreNamedAFewAndCounted)
{
    SavedModel model;
    for (int i = 0; i < 4; ++i) AddCubeUnder(model.scene, model.folder, -1, "extra" + std::to_string(i) + ".mqo");
    model.prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    ASSERT_TRUE(SaveProject(model.scene, model.ProjectPath(), model.prompt));
    for (const std::string& name : model.folder.Names()) chmod(model.folder.File(name).c_str(), 0444);
    model.prompt.asked.clear();
    model.prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    const Outcome saved = SaveProject(model.scene, model.ProjectPath(), model.prompt).outcome;
    EXPECT_FALSE(saved);
    // The project file and seven .mesh files (the two arms share one).
    EXPECT_EQ(model.prompt.asked.back(),
              "上書き保存|「model.anm」「body.mesh」「arm.mesh」「leg.mesh」「extra0.mesh」"
              "ほか3個のファイルは読み取り専用です。上書きしますか？");
    EXPECT_EQ(saved.Message(), model.ProjectPath() + ", " + model.folder.File("body.mesh") + ", " +
                                   model.folder.File("arm.mesh") + ", " + model.folder.File("leg.mesh") + ", " +
                                   model.folder.File("extra0.mesh") +
                                   " and 3 more: the files are read-only; nothing was written");
}

TEST(FileCommands, ReadOnlyFilesAreAskedAboutOnceBeforeAnythingIsWritten)
{
    SavedModel model;
    model.prompt.savePaths.push_back(model.ProjectPath());
    SaveCommand(model.session, model.prompt);
    const std::string project = model.folder.Read("model.anm");
    model.folder.Write("body.mesh", "old");
    model.folder.Write("leg.mesh", "old");
    for (const char* name : {"model.anm", "body.mesh"}) chmod(model.folder.File(name).c_str(), 0444);
    SetKeyMatrix(model.scene, 0, 1, 30, MatrixTranslation(5, 0, 0));

    // "exists, replace?" Yes, every mesh Yes, then No to the read-only files: nothing is written.
    model.prompt.asked.clear();
    model.prompt.yesNo = {true, false};
    model.prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    SaveCommand(model.session, model.prompt);
    EXPECT_EQ(model.prompt.asked.back(), "上書き保存|「model.anm」「body.mesh」は読み取り専用です。上書きしますか？");
    EXPECT_EQ(model.folder.Read("model.anm"), project);
    EXPECT_EQ(model.folder.Read("body.mesh"), "old");
    EXPECT_EQ(model.folder.Read("leg.mesh"), "old");

    model.prompt.yesNo = {true, true};
    model.prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    SaveCommand(model.session, model.prompt);
    EXPECT_NE(model.folder.Read("model.anm"), project);
    EXPECT_NE(model.folder.Read("body.mesh"), "old");
    EXPECT_NE(model.folder.Read("leg.mesh"), "old");
}

TEST(FileCommands, AfterNewSaveAsksForANameAndNeverReplacesThePreviousProject)
{
    SavedModel model;
    model.prompt.savePaths.push_back(model.ProjectPath());
    SaveCommand(model.session, model.prompt);  // no path yet: the save dialog
    EXPECT_EQ(model.prompt.asked.front(), "save|ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm|||anm");
    ASSERT_TRUE(model.folder.Exists("model.anm"));
    model.prompt.asked.clear();

    // Everything is saved: New asks nothing, and the new document is untitled.
    NewProject(model.session, model.prompt);
    EXPECT_TRUE(model.prompt.asked.empty());
    EXPECT_EQ(model.scene.PartCount(), 0);
    EXPECT_EQ(model.session.CurrentMotion(), -1);
    EXPECT_EQ(model.scene.projectPath, "");
    EXPECT_EQ(model.session.TitleText().find("model.anm"), std::string::npos);

    AddCube(model.scene, model.folder, "new.mqo");
    NewMotionCommand(model.session, "n");
    EXPECT_FALSE(SaveCommand(model.session, model.prompt));  // the save dialog, cancelled
    EXPECT_EQ(model.prompt.asked, std::vector<std::string>{"save|ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm|||anm"});
    Scene check;
    ASSERT_TRUE(LoadProject(check, model.ProjectPath(), ProjectOpening::Editing).complete);
    EXPECT_EQ(check.PartCount(), 4);
}

TEST(FileCommands, NewAskedAboutUnsavedWorkAndAnsweredNoKeepsTheSceneAndItsHistory)
{
    SavedModel model;
    const int steps = model.session.History().StepCount();
    ASSERT_TRUE(model.session.History().IsModified());
    model.prompt.yesNo = {false};
    NewProject(model.session, model.prompt);
    EXPECT_EQ(model.prompt.asked, std::vector<std::string>{"新規作成|現在のデータは失われます。よろしいですか？"});
    EXPECT_EQ(model.scene.PartCount(), 4);
    EXPECT_EQ(model.session.History().StepCount(), steps);
    model.prompt.yesNo = {true};
    NewProject(model.session, model.prompt);
    EXPECT_EQ(model.scene.PartCount(), 0);
    EXPECT_FALSE(model.session.History().UndoEnabled());
    EXPECT_FALSE(model.session.History().IsModified());
}

TEST(FileCommands, SaveAsCancelledWritesNothing)
{
    SavedModel model;
    SaveAsCommand(model.session, model.prompt);
    EXPECT_EQ(model.prompt.asked.size(), 1u);
    EXPECT_EQ(model.scene.projectPath, "");
}

TEST(FileCommands, ClosingAsksOnlyWithPartsAndMotionsAndLosesNothingNotChosen)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;
    AddCube(scene, folder, "a.mqo");
    EXPECT_TRUE(AskSaveBeforeClosing(session, prompt));
    EXPECT_TRUE(prompt.asked.empty());

    NewMotionCommand(session, "m");
    const std::string question = "終了|現在のデータを保存しますか？";
    prompt.yesNoCancel = {YesNoCancel::Cancel};
    EXPECT_FALSE(AskSaveBeforeClosing(session, prompt));
    EXPECT_EQ(prompt.asked, std::vector<std::string>{question});
    // Yes whose save dialog is cancelled keeps the window open too.
    prompt.yesNoCancel = {YesNoCancel::Yes};
    EXPECT_FALSE(AskSaveBeforeClosing(session, prompt));
    EXPECT_EQ(prompt.asked.back(), "save|ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm|||anm");
    prompt.yesNoCancel = {YesNoCancel::No};
    EXPECT_TRUE(AskSaveBeforeClosing(session, prompt));
    EXPECT_EQ(prompt.asked.back(), question);
    EXPECT_EQ(scene.projectPath, "");

    prompt.yesNoCancel = {YesNoCancel::Yes};
    prompt.savePaths = {folder.File("closing.anm")};
    EXPECT_TRUE(AskSaveBeforeClosing(session, prompt));
    EXPECT_TRUE(folder.Exists("closing.anm"));
}

TEST(FileCommands, SavedAndOpenedProjectsGoFirstInTheRecentListAndAMissingOneLeavesIt)
{
    SavedModel model;
    std::filesystem::create_directory(model.folder.File("b"));
    const std::string other = model.folder.File("b/other.anm");
    model.prompt.savePaths = {model.ProjectPath(), other};
    ASSERT_TRUE(SaveAsCommand(model.session, model.prompt));
    ASSERT_TRUE(SaveAsCommand(model.session, model.prompt));
    ASSERT_TRUE(OpenProject(model.session, model.ProjectPath(), ProjectOpening::Editing).complete);
    const RecentFiles& recent = model.session.RecentProjects();
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{std::filesystem::canonical(model.ProjectPath()).string(),
                                                        std::filesystem::canonical(other).string()}));

    std::filesystem::remove(other);
    model.prompt.asked.clear();
    EXPECT_FALSE(ReadyToOpenRecentProject(model.session, model.prompt, recent.Paths()[1]));
    EXPECT_EQ(model.prompt.asked,
              std::vector<std::string>{"開く|「" + std::filesystem::canonical(model.folder.path).string() +
                                       "/b/other.anm」が見つかりません。最近使ったファイルの一覧から削除しました。"});
    EXPECT_EQ(recent.Paths().size(), 1u);
    // A project still there asks about unsaved data on screen first.
    NewMotionCommand(model.session, "unsaved");
    model.prompt.yesNoCancel = {YesNoCancel::No};
    EXPECT_TRUE(ReadyToOpenRecentProject(model.session, model.prompt, recent.Paths()[0]));
    EXPECT_EQ(model.prompt.asked.back(), "開く|現在のデータを保存しますか？");
}
