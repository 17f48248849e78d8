// A project whose save was killed while its files were put in place opens as one set.
#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/MotionCommands.h"
#include "io/FileSetWriter.h"
#include "scene/ModelScale.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace m3d;

namespace {

// A body with an arm and a Motion moving the body, saved at path.
struct Figure {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;

    Figure()
    {
        AddCubeUnder(scene, folder, -1, "body.mqo");
        AddCubeUnder(scene, folder, 0, "arm.mqo");
        NewMotionCommand(session, "walk");
        SetKeyMatrix(scene, 0, 0, 10, MatrixTranslation(1, 2, 3));
    }
    std::string Path() const { return folder.File("figure.anm"); }
    bool Save()
    {
        prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
        return SaveProject(scene, Path(), prompt).Ok();
    }
};

}  // namespace

TEST(InterruptedSave, TheNextOpenFinishesTheSaveAndSaysSo)
{
    Figure figure;
    ASSERT_TRUE(figure.Save());
    // Scaling changes every .mesh file and the project file; the save is
    // killed after the first of its three files.
    ASSERT_TRUE(ScaleModel(figure.scene, 2.0f));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileSetWriter::SetCommitStepHookForTests([](size_t placed) {
            if (placed == 1) _exit(0);
        });
        _exit(figure.Save() ? 2 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    Figure whole;  // what the save would have written
    ASSERT_TRUE(ScaleModel(whole.scene, 2.0f));
    ASSERT_TRUE(whole.Save());

    EditorSession opened;
    ScriptedPrompt prompt;
    ASSERT_TRUE(OpenProjectCommand(opened, prompt, figure.Path()));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].rfind("中断された保存|" + figure.Path(), 0), 0u) << prompt.asked[0];
    EXPECT_EQ(figure.folder.Names(), whole.folder.Names());
    for (const char* name : {"figure.anm", "body.mesh", "arm.mesh"})
        EXPECT_EQ(figure.folder.Read(name), whole.folder.Read(name)) << name;
    EXPECT_EQ(opened.GetScene().Parts()[0]->mesh->GetVertex(0)->x, whole.scene.Parts()[0]->mesh->GetVertex(0)->x);
}
