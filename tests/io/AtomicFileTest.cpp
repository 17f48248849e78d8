#include "io/AtomicFile.h"
#include "io/FileReading.h"
#include "io/FileSetWriter.h"
#include "io/PathLookup.h"
#include "io/TemporaryNames.h"
#include "support/ResourceLimits.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace m3d;

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

Outcome Write(const std::string& path, std::string_view data, bool replaceReadOnly = false)
{
    AtomicWriteOptions options;
    options.replaceReadOnly = replaceReadOnly;
    return WriteFileAtomically(path, data, options);
}

}  // namespace

TEST(AtomicFile, ReplacedFilesKeepTheirModeAndNewFilesFollowTheUmask)
{
    TempFolder folder;
    for (mode_t mode : {mode_t(0600), mode_t(0755)}) {
        folder.Write("old", "old");
        chmod(folder.File("old").c_str(), mode);
        ASSERT_TRUE(Succeeded(Write(folder.File("old"), "new")));
        EXPECT_EQ(ModeOf(folder.File("old")), mode);
        EXPECT_EQ(folder.Read("old"), "new");
    }
    const mode_t previous = umask(027);
    const Outcome written = Write(folder.File("fresh"), "new");
    umask(previous);
    ASSERT_TRUE(Succeeded(written));
    EXPECT_EQ(ModeOf(folder.File("fresh")), mode_t(0640));
}

TEST(AtomicFile, ASymbolicLinkStaysAndTheFileItLeadsToIsReplaced)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.File("real"));
    folder.Write("real/model.x", "old");
    std::filesystem::create_symlink("real/model.x", folder.File("link.x"));
    ASSERT_TRUE(Succeeded(Write(folder.File("link.x"), "new")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.x")));
    EXPECT_EQ(folder.Read("real/model.x"), "new");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"link.x", "real"}));
}

TEST(AtomicFile, TargetsThatAreNoRegularFileAreRefusedWithNothingWritten)
{
    TempFolder folder;
    ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0644), 0);
    std::filesystem::create_directory(folder.File("dir"));
    for (const char* name : {"pipe", "dir"}) {
        Outcome outcome;
        EXPECT_FALSE((outcome = Write(folder.File(name), "new"))) << name;
        EXPECT_NE(outcome.Message().find(folder.File(name)), std::string::npos) << outcome.Message();
    }
    EXPECT_TRUE(std::filesystem::is_fifo(folder.File("pipe")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.File("dir")));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"dir", "pipe"}));
    // A folder that is not there is named as the reason.
    Outcome outcome;
    EXPECT_FALSE((outcome = Write(folder.File("none/model.x"), "new")));
    EXPECT_NE(
        outcome.Message().find(folder.File("none/model.x") + ": the folder " + folder.File("none") + " does not exist"),
        std::string::npos)
        << outcome.Message();
}

TEST(AtomicFile, AReadOnlyFileIsReplacedOnlyWhenAllowed)
{
    TempFolder folder;
    folder.Write("locked", "old");
    chmod(folder.File("locked").c_str(), 0444);
    Outcome outcome;
    EXPECT_FALSE((outcome = Write(folder.File("locked"), "new")));
    EXPECT_NE(outcome.Message().find("read-only"), std::string::npos) << outcome.Message();
    EXPECT_EQ(folder.Read("locked"), "old");
    ASSERT_TRUE(Succeeded(Write(folder.File("locked"), "new", true)));
    EXPECT_EQ(folder.Read("locked"), "new");
    EXPECT_EQ(ModeOf(folder.File("locked")), mode_t(0444));
}

// A write beyond the file size limit fails part way (EFBIG), as a full disk would.
TEST(AtomicFile, AFailedWriteLeavesTheOldFileAndNothingElse)
{
    TempFolder folder;
    folder.Write("out", "old");
    EXPECT_TRUE(RunWithFileSizeLimit(1 << 20, [&] {
        Outcome outcome;
        return !(outcome = Write(folder.File("out"), std::string(4 << 20, 'x'))) &&
               outcome.Message().find("write failed") != std::string::npos;
    }));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out"});
    EXPECT_EQ(folder.Read("out"), "old");
}

TEST(AtomicFile, AKilledWriteLeavesTheOldFileAndNothingElse)
{
    TempFolder folder;
    folder.Write("out", "old");
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string block(1 << 16, 'x');
        static_cast<void>(WriteFileAtomically(folder.File("out"), [&](FileSink& sink) {
            for (int i = 0;; ++i) {
                if (!sink.Write(block)) return false;
                if (i == 64 && write(started[1], "s", 1) != 1) return false;
            }
        }));
        _exit(1);
    }
    char signal_byte = 0;
    ASSERT_EQ(read(started[0], &signal_byte, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(started[0]);
    close(started[1]);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out"});
    EXPECT_EQ(folder.Read("out"), "old");
}

TEST(AtomicFile, StaleTemporariesOfOurPatternAreRemovedAndNothingElse)
{
    TempFolder folder;
    const char* names[] = {"a.x.tmpAb12Cd", "a.x.tmpAb12C", "a.x.tmpAb-2Cd", "b.x.tmpXy34Zq"};
    for (const char* name : names) folder.Write(name, "leftover");
    // All but the last were left two minutes ago.
    const utimbuf old{time(nullptr) - 120, time(nullptr) - 120};
    for (int i = 0; i < 3; ++i) utime(folder.File(names[i]).c_str(), &old);
    ASSERT_TRUE(Succeeded(Write(folder.File("a.x"), "new")));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.x", "a.x.tmpAb-2Cd", "a.x.tmpAb12C", "b.x.tmpXy34Zq"}));
}

TEST(AtomicFile, TemporariesOfAGoneProcessAreRemovedHoweverFreshAndOthersAreKept)
{
    TempFolder folder;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileSetWriter set;  // _exit runs no destructor: its temporary stays
        _exit(set.Add(folder.File("a.x"), "left") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(folder.Names().size(), 1u);
    // One of this process, and one of another boot: perhaps of a process
    // running on another machine that shares the folder.
    const std::string own = FileNameOf(OwnTemporaryName(folder.File("b.x")));
    ProcessIdentity elsewhere = ThisProcess();
    elsewhere.boot = elsewhere.boot == "0000ffff" ? "ffff0000" : "0000ffff";
    const std::string foreign = "c.x.m3d-tmp-" + IdentityToken(elsewhere) + "-Ab12Cd";
    ASSERT_EQ(TemporaryWriter(foreign), elsewhere);
    folder.Write(own, "in progress");
    folder.Write(foreign, "in progress");
    ASSERT_TRUE(Succeeded(Write(folder.File("d.x"), "new")));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{own, foreign, "d.x"}));
}

// Reading refuses what is no regular file before reading a byte, and never waits on a FIFO.
TEST(FileReading, FifosDevicesAndFoldersAreRefusedByName)
{
    TempFolder folder;
    ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0644), 0);
    std::filesystem::create_directory(folder.File("dir"));
    std::filesystem::create_symlink(folder.File("pipe"), folder.File("link"));
    const std::vector<std::pair<std::string, const char*>> cases = {{folder.File("pipe"), "a FIFO"},
                                                                    {folder.File("link"), "a FIFO"},
                                                                    {folder.File("dir"), "a folder"},
                                                                    {"/dev/zero", "a device"}};
    for (const auto& [path, kind] : cases) {
        const Expected<std::string> bytes = ReadWholeFile(path);
        EXPECT_FALSE(bytes) << path;
        EXPECT_EQ(bytes.Message(), path + ": " + kind + ", not a regular file; nothing was read");
    }
    folder.Write("big", std::string(100, 'x'));
    const Expected<std::string> tooBig = ReadWholeFile(folder.File("big"), 99);
    EXPECT_FALSE(tooBig);
    EXPECT_NE(tooBig.Message().find("too large"), std::string::npos) << tooBig.Message();
    const Expected<std::string> bytes = ReadWholeFile(folder.File("big"), 100);
    ASSERT_TRUE(Succeeded(bytes));
    EXPECT_EQ(bytes->size(), 100u);
}
