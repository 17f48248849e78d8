#include "anim/MotionOperations.h"
#include "io/FileSetWriter.h"
#include "scene/MeshFileNames.h"
#include "scene/MeshOutput.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

struct FourCubes {
    TempFolder source;
    TempFolder target;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;
    FourCubes()
    {
        for (const char* name : {"p0.mqo", "p1.mqo", "p2.mqo", "p3.mqo"}) AddCubeUnder(scene, source, -1, name);
    }
    void MarkExisting()
    {
        for (int i = 0; i < 4; ++i) target.Write("p" + std::to_string(i) + ".mesh", "old");
    }
    std::string Question(int i) const
    {
        return "mesh|" + target.File("p" + std::to_string(i) + ".mesh") + "は存在しています。上書きしますか？";
    }
};

// Plans and writes as a save does when no file is read-only.
MeshOutputPlan WriteMeshFiles(Scene& scene, const std::string& directory, UserPrompt& prompt)
{
    MeshFileNames names;
    EXPECT_TRUE(Succeeded(NameMeshFiles(scene, directory, names)));
    const MeshOutputPlan plan = PlanMeshFiles(scene, names, directory, prompt);
    if (plan.cancelled) return plan;
    FileSetWriter set;
    Outcome written = StageMeshFiles(scene, plan, set, false);
    if (written) written = set.Commit();
    EXPECT_TRUE(Succeeded(written));
    return plan;
}

}  // namespace

TEST(MeshOutput, EmptyFolderGetsOneFilePerPartWithoutQuestions)
{
    FourCubes f;
    const MeshOutputPlan result = WriteMeshFiles(f.scene, f.target.path, f.prompt);
    EXPECT_EQ(result.files.size(), 4u);
    EXPECT_TRUE(f.prompt.asked.empty());
    for (int i = 0; i < 4; ++i) EXPECT_NE(f.target.Read("p" + std::to_string(i) + ".mesh"), "old");
}

TEST(MeshOutput, YesToAllStopsTheQuestions)
{
    FourCubes f;
    f.MarkExisting();
    f.prompt.meshAnswers = {MeshOverwriteAnswer::Yes, MeshOverwriteAnswer::YesToAll};
    const MeshOutputPlan result = WriteMeshFiles(f.scene, f.target.path, f.prompt);
    EXPECT_EQ(f.prompt.asked, (std::vector<std::string>{f.Question(0), f.Question(1)}));
    EXPECT_EQ(result.files.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_NE(f.target.Read("p" + std::to_string(i) + ".mesh"), "old");

    // The flag lives for one run only.
    f.prompt.asked.clear();
    f.prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    WriteMeshFiles(f.scene, f.target.path, f.prompt);
    EXPECT_EQ(f.prompt.asked.size(), 1u);
}

TEST(MeshOutput, NoKeepsOneFileAndCancelWritesNone)
{
    {
        FourCubes f;
        f.MarkExisting();
        f.prompt.meshAnswers = {MeshOverwriteAnswer::Yes, MeshOverwriteAnswer::No, MeshOverwriteAnswer::Yes,
                                MeshOverwriteAnswer::Yes};
        const MeshOutputPlan result = WriteMeshFiles(f.scene, f.target.path, f.prompt);
        EXPECT_EQ(f.prompt.asked.size(), 4u);
        EXPECT_EQ(f.target.Read("p1.mesh"), "old");
        EXPECT_NE(f.target.Read("p2.mesh"), "old");
        EXPECT_NE(f.target.Read("p3.mesh"), "old");
        ASSERT_EQ(result.kept.size(), 1u);
        EXPECT_EQ(result.kept[0].first, 1);
        // "old" is not what Part 1 would write: the save is not whole.
        EXPECT_EQ(KeptMeshFilesThatDiffer(f.scene, result), std::vector<std::string>{f.target.File("p1.mesh")});
        EXPECT_FALSE(result.cancelled);
    }
    for (MeshOverwriteAnswer cancel : {MeshOverwriteAnswer::Cancel, MeshOverwriteAnswer(7)}) {
        FourCubes f;
        f.MarkExisting();
        f.prompt.meshAnswers = {MeshOverwriteAnswer::Yes, cancel};
        const MeshOutputPlan result = WriteMeshFiles(f.scene, f.target.path, f.prompt);
        EXPECT_EQ(f.prompt.asked.size(), 2u);
        EXPECT_TRUE(result.cancelled);
    }
}

TEST(MeshOutput, PartsOfOneNameShareAFileOnlyWhileTheirMeshesAreTheSame)
{
    TempFolder source;
    TempFolder target;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddCube(scene, source, "arm.mqo");
    AddCube(scene, source, "arm.mqo");
    TempFolder other;
    other.Write("ARM.mqo", CubeModelText(3.0f));
    ASSERT_EQ(scene.AddPartFromFile(other.File("ARM.mqo")).loaded.Message(), "");
    AddCube(scene, source, "Arm.mqo");
    ASSERT_EQ(scene.Parts()[2]->baseName, "ARM");
    MeshFileNames names;
    ASSERT_TRUE(Succeeded(NameMeshFiles(scene, target.path, names)));
    // The file system may not tell ARM from arm: the larger cube, not the
    // first Part's mesh, gets a name of its own.
    EXPECT_EQ(names.baseNames, (std::vector<std::string>{"arm", "arm", "ARM00000", "Arm"}));
    EXPECT_EQ(names.renamed, std::vector<int>{2});

    // Where the larger cube is the file of its name already, it keeps it and
    // the first Part's mesh moves instead.
    target.Write("ARM.mesh", *scene.Parts()[2]->mesh->MeshFileBytes("ARM.mesh"));
    ASSERT_TRUE(Succeeded(NameMeshFiles(scene, target.path, names)));
    EXPECT_EQ(names.baseNames, (std::vector<std::string>{"arm00000", "arm00000", "ARM", "arm00000"}));
    EXPECT_EQ(names.renamed, (std::vector<int>{0, 1, 3}));
}

TEST(MeshOutput, AModelPartIsSavedAsMeshAndLoadedFromItAfterwards)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;
    folder.Write("arm.mqo", CubeModelText(2.0f));
    ASSERT_EQ(scene.AddPartFromFile(folder.File("arm.mqo")).loaded.Message(), "");
    ASSERT_EQ(scene.Parts()[0]->mesh->GetFaceNum(), 12);
    NewMotionCommand(session, "m");
    ASSERT_TRUE(SaveProject(scene, folder.File("p.anm"), prompt));
    ASSERT_TRUE(folder.Exists("arm.mesh"));
    folder.Write("arm.mqo", CubeModelText(5.0f));  // the model changes; the project keeps its .mesh

    Scene loaded;
    const ProjectLoad load = LoadProject(loaded, folder.File("p.anm"), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete) << load.outcome.Message();
    float largest = 0;
    for (int v = 0; v < loaded.Parts()[0]->mesh->GetVertexNum(); ++v)
        largest = std::max(largest, loaded.Parts()[0]->mesh->GetVertex(v)->y);
    EXPECT_FLOAT_EQ(largest, 2.0f);
}
