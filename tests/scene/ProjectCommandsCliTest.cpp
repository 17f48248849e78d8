#include "anim/MotionOperations.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/CliFigure.h"
#include "support/CliRun.h"
#include "support/SceneFixtures.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace m3d;

namespace {

CliResult RunCli(const TempFolder& folder, const std::string& arguments)
{
    return m3d::RunCli(arguments, folder.File("stderr.txt"));
}

// body(0) with arm(1) under it; Motion "walk" with arm keyed at 0 and 10.
struct CliProject : CliFigure {
    CliProject()
    {
        AddCubeUnder(scene, folder, -1, "body.mqo");
        AddCubeUnder(scene, folder, 0, "arm.mqo");
        scene.Parts()[0]->localPosition = {0, 10, 0};
        NewMotionCommand(session, "walk");
        Matrix4 arm = MatrixRotationY(1.57079633f);
        arm.SetTranslation({0.1f, 0, 4});
        SetKeyMatrix(scene, 0, 1, 10, arm);
        Save();
    }
};

}  // namespace

TEST(ProjectCommandsCli, InfoListsPartsAndEveryKey)
{
    CliProject project;
    const CliResult r = RunCli(project.folder, "info " + Quote(project.path));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("{\"parts\":[{\"index\":0,\"baseName\":\"body\",\"displayName\":\"body\",\"parent\":-1,"
                         "\"symmetry\":-1,\"vertices\":"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"index\":1,\"baseName\":\"arm\",\"displayName\":\"arm\",\"parent\":0,"), std::string::npos);
    EXPECT_NE(r.out.find("\"faces\":12}"), std::string::npos);
    // The track of body holds its frame-0 key with its position; arm's two keys follow.
    EXPECT_NE(
        r.out.find("\"motions\":[{\"name\":\"walk\",\"length\":60,\"loop\":false,\"tracks\":[[{\"frame\":0,\"matrix\":"
                   "[1,0,0,0,0,1,0,0,0,0,1,0,0,10,0,1]}],[{\"frame\":0,"),
        std::string::npos)
        << r.out;
    // 0.1f is written so that it reads back to the same float.
    EXPECT_NE(r.out.find("{\"frame\":10,\"matrix\":["), std::string::npos);
    // A project that never said its unit has none.
    EXPECT_NE(r.out.find(",0.100000001,0,4,1]}]]}],\"metresPerUnit\":null,\"textureProblems\":[]}"), std::string::npos)
        << r.out;
}

TEST(ProjectCommandsCli, PoseEvaluatesTheNamedMotion)
{
    CliProject project;
    const CliResult r = RunCli(project.folder, "pose " + Quote(project.path) + " --motion walk --frame 5");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Halfway: arm's position is halfway to (0.1, 0, 4); its world is carried by body at y = 10.
    EXPECT_NE(r.out.find("\"index\":1,\"displayName\":\"arm\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"localPosition\":[0.0500000007,0,2]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(",0.0500000007,10,2,1]}]}"), std::string::npos) << r.out;

    const CliResult held = RunCli(project.folder, "pose " + Quote(project.path) + " --frame 500 --motion walk");
    ASSERT_EQ(held.exitCode, 0) << held.err;
    EXPECT_NE(held.out.find("\"localPosition\":[0.100000001,0,4]"), std::string::npos) << held.out;
}

TEST(ProjectCommandsCli, ResaveWritesTheSameProjectAndKeepsMeshFilesUnlessOverwriting)
{
    CliProject project;
    TempFolder out;
    const std::string target = out.File("copy.anm");
    CliResult r = RunCli(project.folder, "resave " + Quote(project.path) + " " + Quote(target));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"written\":\"" + target + "\",\"parts\":2,\"motions\":1}\n");
    EXPECT_EQ(out.Read("copy.anm"), project.folder.Read("figure.anm"));
    // Kept files that hold the model's own geometry leave the save whole.
    r = RunCli(project.folder, "resave " + Quote(project.path) + " " + Quote(target));
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // One that holds something else makes it partial: said, and a failure.
    out.Write("arm.mesh", "old");
    r = RunCli(project.folder, "resave " + Quote(project.path) + " " + Quote(target));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(out.File("arm.mesh") + " (--overwrite replaces them)"), std::string::npos) << r.err;
    EXPECT_EQ(out.Read("arm.mesh"), "old");

    r = RunCli(project.folder, "resave " + Quote(project.path) + " " + Quote(target) + " --overwrite");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(out.Read("arm.mesh"), project.folder.Read("arm.mesh"));
}

TEST(ProjectCommandsCli, FailuresGiveOneLineNamingTheFile)
{
    CliProject project;
    const auto expectFailure = [&](const std::string& arguments, const std::string& named, int code) {
        const CliResult r = RunCli(project.folder, arguments);
        EXPECT_EQ(r.exitCode, code) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        ASSERT_FALSE(r.err.empty()) << arguments;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    };
    expectFailure("info " + Quote(project.folder.File("none.anm")), "none.anm", 1);
    expectFailure("pose " + Quote(project.path) + " --motion run --frame 1", "figure.anm", 1);
    expectFailure("pose " + Quote(project.path) + " --motion walk --frame -1", "usage", 2);
    expectFailure("resave " + Quote(project.path), "usage", 2);
    // An output folder that is not there is named, and nothing is written.
    const std::string missing = project.folder.File("not made");
    expectFailure("apply " + Quote(project.path) + " --motion walk --turn-around --out " + Quote(missing + "/o.anm"),
                  "the folder " + missing + " does not exist", 1);

    std::string damaged = project.folder.Read("figure.anm");
    damaged.resize(damaged.size() - 3);
    project.folder.Write("damaged.anm", damaged);
    expectFailure("info " + Quote(project.folder.File("damaged.anm")), "damaged.anm: byte", 1);

    std::filesystem::remove(project.folder.File("arm.mesh"));
    std::filesystem::remove(project.folder.File("arm.mqo"));
    expectFailure("info " + Quote(project.path), "arm.mesh", 1);
    project.folder.Write("arm.mqo", "broken");
    expectFailure("resave " + Quote(project.path) + " " + Quote(project.folder.File("o.anm")), "arm.mqo", 1);
    EXPECT_FALSE(project.folder.Exists("o.anm"));
}

TEST(ProjectCommandsCli, EveryWritingCommandRefusesAReadOnlyOutputUnlessToldToOverwrite)
{
    CliProject project;
    TempFolder out;
    const std::string source = Quote(project.path);
    const std::pair<std::string, std::string> commands[] = {
        {"copy.anm", "resave " + source + " " + Quote(out.File("copy.anm"))},
        {"applied.anm", "apply " + source + " --motion walk --turn-around --out " + Quote(out.File("applied.anm"))},
        {"copy.x", "export-x " + source + " " + Quote(out.File("copy.x"))},
        {"converted.mesh",
         "mesh-convert " + Quote(project.folder.File("body.mqo")) + " " + Quote(out.File("converted.mesh"))},
    };
    for (const auto& [file, command] : commands) {
        out.Write(file, "old");
        chmod(out.File(file).c_str(), 0444);
        const CliResult refused = RunCli(out, command);
        EXPECT_EQ(refused.exitCode, 1) << command;
        EXPECT_NE(refused.err.find("read-only"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("--overwrite"), std::string::npos) << refused.err;
        EXPECT_EQ(out.Read(file), "old") << command;
        const CliResult written = RunCli(out, command + " --overwrite");
        EXPECT_EQ(written.exitCode, 0) << written.err;
        EXPECT_NE(out.Read(file), "old") << command;
    }
}
