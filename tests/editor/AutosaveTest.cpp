#include "anim/MotionOperations.h"
#include "editor/Autosave.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/MotionCommands.h"
#include "editor/PartShapeCommands.h"
#include "editor/RecoveryCommands.h"
#include "io/PathLookup.h"
#include "io/ProcessIdentity.h"
#include "scene/ProjectFile.h"
#include "support/CliRun.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <map>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace m3d;
using namespace std::chrono_literals;

namespace {

// A saved two-Part project opened in a session of its own, then edited.
struct EditedProject {
    TempFolder folder;
    TempFolder recovery;
    EditorSession session;
    RecoveryFolder snapshots{recovery.path};
    std::string path = folder.File("robot.anm");

    EditedProject()
    {
        EditorSession maker;
        AddCubeUnder(maker.GetScene(), folder, -1, "body.mqo");
        AddCubeUnder(maker.GetScene(), folder, 0, "arm.mqo");
        NewMotionCommand(maker, "walk");
        SetKeyMatrix(maker.GetScene(), 0, 1, 10, MatrixTranslation(1, 2, 3));
        ScriptedPrompt prompt;
        EXPECT_TRUE(SaveProject(maker.GetScene(), path, prompt));
        EXPECT_TRUE(OpenProject(session, path, ProjectOpening::Editing).complete);
        session.SelectPart(1);
        EXPECT_TRUE(ResizePartCommand(session, 2.0f));
        EXPECT_TRUE(SetMotionLengthCommand(session, 50));
    }
    std::vector<std::string> SnapshotFiles() const
    {
        std::vector<std::string> names = recovery.Names();
        std::erase_if(names, [](const std::string& name) { return !name.ends_with(".m3dsnap"); });
        return names;
    }
};

// The files a save of session's document into folder writes, by name.
std::map<std::string, std::string> SavedFiles(Scene& scene, const TempFolder& folder)
{
    ScriptedPrompt prompt;
    EXPECT_TRUE(SaveProject(scene, folder.File("saved.anm"), prompt));
    std::map<std::string, std::string> files;
    for (const std::string& name : folder.Names()) files[name] = folder.Read(name);
    return files;
}

}  // namespace

TEST(Autosave, ASnapshotComesAnIntervalAfterTheFirstUnsavedChangeAndGoesWithTheSave)
{
    EditedProject project;
    Autosave autosave(project.session, project.snapshots);
    const Autosave::Clock::time_point start{};
    autosave.Tick(start);
    autosave.Tick(start + 119s);
    autosave.Wait();
    EXPECT_TRUE(project.SnapshotFiles().empty());
    autosave.Tick(start + 120s);
    autosave.Wait();
    ASSERT_EQ(project.SnapshotFiles().size(), 1u);
    EXPECT_EQ(project.SnapshotFiles()[0], autosave.LastSnapshotId() + ".m3dsnap");

    // Nothing new, nothing written; a change starts the interval again.
    autosave.Tick(start + 600s);
    autosave.Wait();
    EXPECT_EQ(project.SnapshotFiles().size(), 1u);
    ASSERT_TRUE(SetMotionLengthCommand(project.session, 70));
    autosave.Tick(start + 601s);
    autosave.Tick(start + 720s);
    autosave.Wait();
    EXPECT_EQ(project.SnapshotFiles().size(), 1u);
    autosave.Tick(start + 721s);
    autosave.Wait();
    EXPECT_EQ(project.SnapshotFiles().size(), 2u);

    // A save leaves nothing to recover.
    ScriptedPrompt prompt;
    prompt.yesNo = {true};
    prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    ASSERT_TRUE(SaveCommand(project.session, prompt));
    autosave.Tick(start + 722s);
    EXPECT_TRUE(project.SnapshotFiles().empty());

    autosave.SetIntervalMinutes(0);
    ASSERT_TRUE(SetMotionLengthCommand(project.session, 80));
    autosave.Tick(start + 800s);
    autosave.Tick(start + 8000s);
    autosave.Wait();
    EXPECT_TRUE(project.SnapshotFiles().empty());
}

TEST(Autosave, ARestoredSnapshotSavesWhatASaveAtItsTimeWroteAndAsksBeforeReplacingAChangedFile)
{
    EditedProject project;
    Autosave autosave(project.session, project.snapshots);
    autosave.SetIntervalMinutes(0.5);
    autosave.Tick(Autosave::Clock::time_point{});
    autosave.Wait();  // for the geometry laid out ahead
    autosave.Tick(Autosave::Clock::time_point{} + 30s);
    autosave.Wait();
    ASSERT_FALSE(autosave.LastSnapshotId().empty()) << autosave.TakeProblem();
    TempFolder expectedFolder;
    const std::map<std::string, std::string> expected = SavedFiles(project.session.GetScene(), expectedFolder);

    EditorSession restored;
    ScriptedPrompt prompt;
    ASSERT_TRUE(RestoreSnapshotCommand(restored, prompt, project.snapshots, autosave.LastSnapshotId(), nullptr));
    EXPECT_TRUE(prompt.asked.empty()) << prompt.asked.front();
    EXPECT_EQ(restored.GetScene().projectPath, project.path);
    EXPECT_TRUE(restored.History().IsModified());
    EXPECT_EQ(restored.GetScene().Motions()[0].length, 50);
    TempFolder restoredFolder;
    EXPECT_EQ(SavedFiles(restored.GetScene(), restoredFolder), expected);

    // The project file changed since the snapshot's document was opened.
    restored.GetScene().projectPath = project.path;
    project.folder.Write("robot.anm", project.folder.Read("robot.anm") + "x");
    prompt.yesNo = {false};
    EXPECT_FALSE(SaveCommand(restored, prompt));
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_NE(prompt.asked.back().find("開いた後に変更されています"), std::string::npos) << prompt.asked.back();
}

TEST(RecoveryFolder, ListsWhatNoRunningProgramHoldsKeepsFiveADocumentAndForgetsOldOnes)
{
    TempFolder recovery;
    RecoveryFolder folder(recovery.path);
    DocumentSnapshot snapshot;
    snapshot.info.writer = "999999-1-0badf00d";  // a program that is gone
    snapshot.info.documentId = "00000000000000aa";
    snapshot.info.projectName = "a.anm";
    std::vector<std::string> ids;
    for (int i = 0; i < 7; ++i) {
        std::string id;
        ASSERT_TRUE(Succeeded(folder.Write(snapshot, id)));
        ids.push_back(id);  // within one millisecond, as likely as not
    }
    std::vector<RecoverableSnapshot> listed = folder.List();
    ASSERT_EQ(listed.size(), 5u);
    EXPECT_EQ(listed.front().id, ids.back());
    EXPECT_EQ(listed.back().id, ids[2]);

    // While its writer holds its lock, a snapshot is that program's own.
    const std::string lock = recovery.File("999999-1-0badf00d.lock");
    const int held = open(lock.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    EXPECT_TRUE(folder.List().empty());
    close(held);
    EXPECT_EQ(folder.List().size(), 5u);

    // A damaged snapshot is named and left alone; old ones go.
    recovery.Write("0000000000000bad-1.m3dsnap", "M3DSNAP\n");
    std::vector<std::string> damaged;
    EXPECT_EQ(folder.List(&damaged).size(), 5u);
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_NE(damaged[0].find("0000000000000bad-1.m3dsnap"), std::string::npos);
    const std::string old = recovery.File(ids[3] + ".m3dsnap");
    const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - kSnapshotLifetimeSeconds - 10, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, old.c_str(), times, 0), 0);
    folder.RemoveExpired(std::time(nullptr));
    EXPECT_EQ(folder.List().size(), 4u);
    // An id is a name in the folder, nothing else.
    DocumentSnapshot read;
    EXPECT_FALSE(folder.Read("../" + FileNameOf(recovery.path) + "/" + ids.back(), read).Ok());
    EXPECT_TRUE(Succeeded(folder.Read(ids.back(), read)));
}

TEST(RecoverCli, ListsTheSnapshotsOfProgramsThatEndedAndWritesOneAsAProject)
{
    EditedProject project;
    TempFolder out;
    setenv("XDG_STATE_HOME", project.recovery.path.c_str(), 1);
    RecoveryFolder folder(DefaultRecoveryFolder());
    Autosave autosave(project.session, folder);
    autosave.SnapshotSoon("");
    autosave.Tick(Autosave::Clock::time_point{});
    autosave.Wait();
    autosave.Tick(Autosave::Clock::time_point{});
    autosave.Wait();
    const std::string id = autosave.LastSnapshotId();
    ASSERT_FALSE(id.empty()) << autosave.TakeProblem();
    // This program holds its lock: its snapshot is its own.
    EXPECT_EQ(RunCli("recover --list", out.File("err.txt")).out, "[]\n");
    folder.Unlock();
    const CliResult listed = RunCli("recover --list", out.File("err.txt"));
    EXPECT_NE(listed.out.find("{\"id\":\"" + id + "\",\"project\":\"robot.anm\",\"originalPath\":\"" + project.path),
              std::string::npos)
        << listed.out;

    const CliResult written = RunCli("recover " + id + " " + Quote(out.File("back.anm")), out.File("err.txt"));
    ASSERT_EQ(written.exitCode, 0) << written.err;
    Scene back;
    ASSERT_TRUE(LoadProject(back, out.File("back.anm"), ProjectOpening::Reading).complete);
    EXPECT_EQ(back.PartCount(), 2);
    EXPECT_EQ(back.Motions()[0].length, 50);
    EXPECT_EQ(RunCli("recover ../" + id + " " + Quote(out.File("b.anm")), out.File("err.txt")).exitCode, 1);
    unsetenv("XDG_STATE_HOME");
}
