// A project whose save was killed while its files were put in place opens as one set.
#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/MotionCommands.h"
#include "io/FileSetWriter.h"
#include "scene/ModelScale.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/CliRun.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace m3d;

namespace {

// A body with an arm and a Motion moving the body, twice its size: scaling
// changes every .mesh file and the project file.
void MakeScaledFigure(EditorSession& session, const TempFolder& folder)
{
    Scene& scene = session.GetScene();
    AddCubeUnder(scene, folder, -1, "body.mqo");
    AddCubeUnder(scene, folder, 0, "arm.mqo");
    NewMotionCommand(session, "walk");
    SetKeyMatrix(scene, 0, 0, 10, MatrixTranslation(1, 2, 3));
    ASSERT_TRUE(ScaleModel(scene, 2.0f));
}

bool Save(Scene& scene, const std::string& path)
{
    ScriptedPrompt prompt;
    prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    return SaveProject(scene, path, prompt).outcome.Ok();
}

std::map<std::string, std::string> Contents(const TempFolder& folder)
{
    std::map<std::string, std::string> contents;
    for (const std::string& name : folder.Names()) contents[name] = folder.Read(name);
    return contents;
}

}  // namespace

TEST(InterruptedSave, ReadingLeavesTheSavePendingAndSaysSoAndTheNextOpenForEditingFinishesIt)
{
    TempFolder folder;
    EditorSession figure;
    MakeScaledFigure(figure, folder);
    const std::string path = folder.File("figure.anm");
    ASSERT_TRUE(Save(figure.GetScene(), path));
    ASSERT_TRUE(ScaleModel(figure.GetScene(), 0.5f));
    // The save back to the first size is killed after the first of its three files.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileSetWriter::SetCommitStepHookForTests([](size_t placed) {
            if (placed == 1) _exit(0);
        });
        _exit(Save(figure.GetScene(), path) ? 2 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // What the save would have written.
    TempFolder wholeFolder;
    EditorSession whole;
    MakeScaledFigure(whole, wholeFolder);
    ASSERT_TRUE(ScaleModel(whole.GetScene(), 0.5f));
    ASSERT_TRUE(Save(whole.GetScene(), wholeFolder.File("figure.anm")));

    // Reading the project, or drawing it, changes nothing in its folder.
    TempFolder pictures;
    const std::map<std::string, std::string> interrupted = Contents(folder);
    for (const std::string& command :
         {"info " + Quote(path), "thumbnail -s 16 " + Quote(path) + " " + Quote(pictures.File("t.png"))}) {
        const CliResult run = RunCli(command, pictures.File("stderr.txt"));
        EXPECT_EQ(run.exitCode, 0) << command << ": " << run.err;
        EXPECT_NE(run.err.find(path + ".m3d-commit"), std::string::npos) << command << ": " << run.err;
        EXPECT_TRUE(Contents(folder) == interrupted) << command;
    }

    EditorSession opened;
    ScriptedPrompt prompt;
    ASSERT_TRUE(OpenProjectCommand(opened, prompt, path));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].rfind("中断された保存|" + path, 0), 0u) << prompt.asked[0];
    EXPECT_EQ(folder.Names(), wholeFolder.Names());
    for (const char* name : {"figure.anm", "body.mesh", "arm.mesh"})
        EXPECT_EQ(folder.Read(name), wholeFolder.Read(name)) << name;
}
