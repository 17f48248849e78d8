// The command line's glTF export refuses what it cannot write and names why.
#include "editor/FileCommands.h"
#include "scene/ProjectFile.h"
#include "support/CliRun.h"
#include "support/GltfSampleScenes.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace m3d;

namespace {

// A project box.anm of one cube and one Motion in folder.
void SaveBoxProject(const TempFolder& folder)
{
    EditorSession session;
    AddCube(session, folder, "box.mqo");
    NewMotion(session.GetScene(), "walk");
    ScriptedPrompt prompt;
    ASSERT_TRUE(SaveProject(session.GetScene(), folder.File("box.anm"), prompt));
}

}  // namespace

TEST(ExportGltfCli, BadNamesRatesAndFoldersAreRefusedNamingTheFile)
{
    TempFolder folder;
    SaveBoxProject(folder);
    const std::string project = Quote(folder.File("box.anm"));
    const std::string err = folder.File("err");

    CliResult run = RunCli("export-gltf " + project + " " + Quote(folder.File("out.obj")), err);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(folder.File("out.obj") + ": 拡張子は .gltf か .glb"), std::string::npos) << run.err;

    for (const char* misuse : {" --fps 121", " --scale 0", " --scale -1", " --scale"}) {
        run = RunCli("export-gltf " + project + " " + Quote(folder.File("out.glb")) + misuse, err);
        EXPECT_EQ(run.exitCode, 2) << misuse;
        EXPECT_FALSE(folder.Exists("out.glb")) << misuse;
    }

    const std::string missing = folder.File("nowhere/out.gltf");
    run = RunCli("export-gltf " + project + " " + Quote(missing), err);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("nowhere/out"), std::string::npos) << run.err;

    // Upper-case extensions are taken; a .gltf's .bin goes beside it.
    run = RunCli("export-gltf " + project + " " + Quote(folder.File("OUT.GLTF")), err);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(folder.Exists("OUT.bin"));
}

TEST(ExportGltfCli, FilesBesideTheOutputThatNoExportWroteNeedOverwrite)
{
    TempFolder folder;
    SaveBoxProject(folder);
    const std::string project = Quote(folder.File("box.anm"));
    const std::string out = Quote(folder.File("out.gltf"));
    const std::string err = folder.File("err");
    folder.Write("out.bin", "mine");
    CliResult run = RunCli("export-gltf " + project + " " + out, err);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, folder.File("out.bin") + ": the file exists; nothing was written (--overwrite replaces them)\n");
    EXPECT_EQ(folder.Read("out.bin"), "mine");
    EXPECT_FALSE(folder.Exists("out.gltf"));
    run = RunCli("export-gltf " + project + " " + out + " --overwrite", err);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // Once the .gltf names it, the .bin is the export's own.
    run = RunCli("export-gltf " + project + " " + out, err);
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST(ExportGltfCli, WithoutAScaleAProjectOfKnownUnitIsWrittenInMetresAndOneOfNoUnitAsItIs)
{
    TempFolder folder;
    SaveBoxProject(folder);
    const std::string project = Quote(folder.File("box.anm"));
    const std::string err = folder.File("err");
    const auto exported = [&](const std::string& options) {
        EXPECT_EQ(RunCli("export-gltf " + project + " " + Quote(folder.File("out.glb")) + options, err).exitCode, 0)
            << options;
        return folder.Read("out.glb");
    };
    EXPECT_EQ(exported(""), exported(" --scale 1"));

    EditorSession session;
    ASSERT_TRUE(OpenProject(session, folder.File("box.anm"), ProjectOpening::Editing).complete);
    session.GetScene().metresPerUnit = 0.01;
    ScriptedPrompt prompt;
    prompt.meshAnswers.push_back(MeshOverwriteAnswer::YesToAll);
    ASSERT_TRUE(SaveProject(session.GetScene(), folder.File("box.anm"), prompt));
    const std::string inMetres = exported("");
    EXPECT_EQ(inMetres, exported(" --scale 0.01"));
    EXPECT_NE(inMetres, exported(" --scale 1"));
}

TEST(ExportGltfCli, ALoopingMotionSaysSoInItsExtrasAndTakesTheSuffix)
{
    TempFolder folder;
    SaveBoxProject(folder);
    const std::string err = folder.File("err");
    const auto animation = [&](const std::string& options) {
        EXPECT_EQ(
            RunCli("export-gltf " + Quote(folder.File("box.anm")) + " " + Quote(folder.File("out.gltf")) + options, err)
                .exitCode,
            0);
        return nlohmann::json::parse(folder.Read("out.gltf"))["animations"][0];
    };
    EXPECT_FALSE(animation(" --loop-suffix -loop").contains("extras"));

    EditorSession session;
    ASSERT_TRUE(OpenProject(session, folder.File("box.anm"), ProjectOpening::Editing).complete);
    session.GetScene().MutableMotions()[0].loop = true;
    ScriptedPrompt prompt;
    prompt.meshAnswers.push_back(MeshOverwriteAnswer::YesToAll);
    ASSERT_TRUE(SaveProject(session.GetScene(), folder.File("box.anm"), prompt));
    const nlohmann::json looped = animation(" --loop-suffix -loop");
    EXPECT_EQ(looped["name"], "walk-loop");
    EXPECT_EQ(looped["extras"]["loop"], true);
    EXPECT_EQ(animation("")["name"], "walk");
}
