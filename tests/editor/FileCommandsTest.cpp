#include "editor/FileCommands.h"

#include "editor/MotionCommands.h"
#include "editor/OptionCommands.h"
#include "editor/PartCommands.h"
#include "scene/ProjectFile.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace m3d;

namespace {

// The largest x of Part part's vertices: tells cubes of different sizes apart.
float HalfSizeOf(const Scene& scene, int part)
{
    const CMesh& mesh = *scene.Parts()[part]->mesh;
    float largest = 0;
    for (int v = 0; v < mesh.GetVertexNum(); ++v) largest = std::max(largest, mesh.GetVertex(v)->x);
    return largest;
}

// Saves into folder/model.anm (asking for the path), then opens it in a second session.
struct SavedAndReopened {
    ScriptedPrompt prompt;
    EditorSession reopened;
    bool saved = false;
    SavedAndReopened(EditorSession& session, const TempFolder& folder)
    {
        prompt.savePaths.push_back(folder.File("model.anm"));
        saved = SaveCommand(session, prompt);
        EXPECT_TRUE(OpenProject(reopened, folder.File("model.anm"), ProjectOpening::Editing).complete);
    }
    const m3d::Scene& Model() const { return reopened.GetScene(); }
};

}  // namespace

TEST(FileCommands, NamesShiftJisWouldFoldComeBackAsSavedWithTheirOwnGeometry)
{
    TempFolder source, project;
    EditorSession session;
    // 〜 (wave dash) and ～ (full-width tilde) are one code in the project file.
    const std::pair<const char*, float> files[] = {
        {"head〜.mqo", 1}, {"x～.mqo", 2}, {"x〜.mqo", 3}, {"hand¥l.mqo", 4}};
    for (const auto& [name, half] : files) {
        session.SelectPart(-1);
        source.Write(name, CubeObjectFile(half));
        ASSERT_GE(session.GetScene().AddPartFromFile(source.File(name)).index, 0);
    }
    ASSERT_TRUE(NewMotionCommand(session, "w～"));
    EXPECT_FALSE(NewMotionCommand(session, "w〜"));
    const std::vector<std::string> names{"head～", "x～", "x～00000", "hand￥l"};
    const SavedAndReopened after(session, project);
    ASSERT_TRUE(after.saved);
    ASSERT_EQ(after.Model().PartCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(session.GetScene().Parts()[i]->baseName, names[i]);
        EXPECT_EQ(after.Model().Parts()[i]->baseName, names[i]);
        EXPECT_FLOAT_EQ(HalfSizeOf(after.Model(), i), files[i].second) << i;
    }
    EXPECT_EQ(after.Model().MotionAt(0).name, "w～");

    // A name that slipped past the checks is refused by the save, not written.
    session.GetScene().Parts()[0]->baseName = "head〜";
    ScriptedPrompt prompt;
    EXPECT_FALSE(SaveProject(session.GetScene(), project.File("other.anm"), prompt));
    EXPECT_FALSE(project.Exists("other.anm"));
}

TEST(FileCommands, APartFromAFileNamedAsAnotherPartKeepsItsOwnGeometry)
{
    TempFolder first, second, third, project;
    EditorSession session;
    const auto add = [&](const TempFolder& folder, const char* name, float half) {
        session.SelectPart(-1);
        AddCube(session, folder, name, half);
    };
    add(first, "torso.mqo", 1);
    add(first, "head.mqo", 2);
    // Another folder's copy of the torso, named head; and a swap to a HEAD.mqo.
    add(second, "head.mqo", 3);
    third.Write("HEAD.mqo", CubeObjectFile(4));
    session.SelectPart(0);
    ASSERT_TRUE(SwapCurrentObject(session, third.File("HEAD.mqo")).loaded);
    ASSERT_TRUE(NewMotionCommand(session, "m"));
    const SavedAndReopened after(session, project);
    ASSERT_TRUE(after.saved);
    // The save dialog, then the note naming the two Parts that got files of their own.
    ASSERT_EQ(after.prompt.asked.size(), 2u);
    EXPECT_NE(after.prompt.asked[1].find("head: head.mesh -> " + project.File("head00000.mesh")), std::string::npos)
        << after.prompt.asked[1];
    EXPECT_NE(after.prompt.asked[1].find("head00000: head.mesh -> " + project.File("head00001.mesh")),
              std::string::npos);
    ASSERT_EQ(after.Model().PartCount(), 3);
    const float halves[] = {4, 2, 3};
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(HalfSizeOf(after.Model(), i), halves[i]) << i;
}

TEST(FileCommands, ARefusedMeshQuestionLeavesTheWorkUnsavedAndCancelWritesNothing)
{
    TempFolder source, project;
    EditorSession session;
    AddCubeUnder(session, source, -1, "torso.mqo");
    AddCubeUnder(session, source, -1, "head.mqo");
    ASSERT_TRUE(NewMotionCommand(session, "m"));
    ScriptedPrompt prompt;
    prompt.savePaths.push_back(project.File("model.anm"));
    ASSERT_TRUE(SaveCommand(session, prompt));
    const std::string anm = project.Read("model.anm"), torso = project.Read("torso.mesh"),
                      head = project.Read("head.mesh");
    ASSERT_TRUE(ScaleCommand(session, 2));
    ASSERT_TRUE(session.History().IsModified());

    // "キャンセル" (what Escape gives too) on the second question: nothing is written.
    prompt.asked.clear();
    prompt.yesNo = {true};
    prompt.meshAnswers = {MeshOverwriteAnswer::Yes, MeshOverwriteAnswer::Cancel};
    EXPECT_FALSE(SaveCommand(session, prompt));
    EXPECT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(project.Read("model.anm"), anm);
    EXPECT_EQ(project.Read("torso.mesh"), torso);
    EXPECT_EQ(project.Read("head.mesh"), head);
    EXPECT_TRUE(session.History().IsModified());

    // "いいえ" keeps torso.mesh: the rest is written, the save says it is
    // partial, and the work still counts as unsaved.
    prompt.asked.clear();
    prompt.yesNo = {true};
    prompt.meshAnswers = {MeshOverwriteAnswer::No, MeshOverwriteAnswer::Yes};
    EXPECT_FALSE(SaveCommand(session, prompt));
    EXPECT_NE(project.Read("head.mesh"), head);
    EXPECT_EQ(project.Read("torso.mesh"), torso);
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_EQ(prompt.asked.back().rfind("caution|", 0), 0u) << prompt.asked.back();
    EXPECT_NE(prompt.asked.back().find(project.File("torso.mesh")), std::string::npos);
    EXPECT_TRUE(session.History().IsModified());
    EXPECT_NE(session.TitleText().find(" *"), std::string::npos);
    prompt.asked.clear();
    prompt.yesNoCancel = {YesNoCancel::No};
    EXPECT_TRUE(AskSaveBeforeClosing(session, prompt));
    EXPECT_EQ(prompt.asked, std::vector<std::string>{"終了|現在のデータを保存しますか？"});
}
