#pragma once

#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/CliRun.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <string>

namespace m3d {

// A project made for the command-line program's tests: a session whose Parts
// are cubes written into a temporary folder, saved there as figure.anm.
struct CliFigure {
    TempFolder folder;
    std::string path = folder.File("figure.anm");
    EditorSession session;
    Scene& scene = session.GetScene();

    // Adds body(0), then armL(1) and armR(2) under it as each other's partners.
    void AddBodyWithPartnerArms()
    {
        AddCubeUnder(scene, folder, -1, "body.mqo");
        AddCubeUnder(scene, folder, 0, "armL.mqo");
        AddCubeUnder(scene, folder, 0, "armR.mqo");
        scene.Parts()[1]->symmetryIndex = 2;
        scene.Parts()[2]->symmetryIndex = 1;
    }
    // Writes the project to path; a failure fails the test.
    void Save()
    {
        ScriptedPrompt prompt;
        EXPECT_TRUE(Succeeded(SaveProject(scene, path, prompt).outcome));
    }
    // Runs the command-line program with arguments (already quoted); its
    // error output goes through a file of the folder.
    CliResult Run(const std::string& arguments) const { return RunCli(arguments, folder.File("stderr.txt")); }
};

}  // namespace m3d
