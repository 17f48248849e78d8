// A set commit killed part way is finished or undone by the next write, whole.
#include "io/CommitRecord.h"
#include "io/CommitRecovery.h"
#include "io/FileSetWriter.h"
#include "io/PathLookup.h"
#include "io/TemporaryNames.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace m3d;

namespace {

constexpr int kFiles = 50;

std::string FileName(int i) { return "f" + std::to_string(i) + ".dat"; }
std::string NewContents(int i) { return "new " + std::to_string(i); }
// Every fifth file is new to the set: there is nothing to put back for it.
bool InOldSet(int i) { return i % 5 != 2; }

void WriteOldSet(const TempFolder& folder)
{
    for (int i = 0; i < kFiles; ++i)
        if (InOldSet(i)) folder.Write(FileName(i), "old " + std::to_string(i));
}

// A child process commits the new set and is gone after putting `placed` files in place.
void KillCommitAfter(const TempFolder& folder, size_t placed)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileSetWriter::SetCommitStepHookForTests([placed](size_t done) {
            if (done == placed) _exit(0);
        });
        FileSetWriter set;
        for (int i = 0; i < kFiles; ++i)
            if (!set.Add(folder.File(FileName(i)), NewContents(i))) _exit(2);
        static_cast<void>(set.Commit());
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

std::map<std::string, std::string> Contents(const TempFolder& folder)
{
    std::map<std::string, std::string> contents;
    for (const std::string& name : folder.Names()) contents[name] = folder.Read(name);
    return contents;
}

std::map<std::string, std::string> Set(bool isNew)
{
    std::map<std::string, std::string> set;
    for (int i = 0; i < kFiles; ++i)
        if (isNew || InOldSet(i)) set[FileName(i)] = isNew ? NewContents(i) : "old " + std::to_string(i);
    return set;
}

// The next set written into the folder (not committed) finds the interrupted one.
std::vector<CommitRecoveryNote> WriteIntoFolder(const TempFolder& folder)
{
    FileSetWriter next;
    EXPECT_TRUE(Succeeded(next.Add(folder.File("other.dat"), "other")));
    return next.Recoveries();
}

}  // namespace

TEST(CommitRecovery, AKilledCommitIsFinishedWhenAllIsStagedAndElsePutBack)
{
    const std::string last = FileName(kFiles - 1);
    for (size_t placed : {size_t(0), size_t(kFiles / 2), size_t(kFiles)}) {
        for (bool loseStaged : {false, true}) {
            // Once every file is in place there is no staged file to lose.
            if (loseStaged && placed == kFiles) continue;
            SCOPED_TRACE("placed " + std::to_string(placed) + (loseStaged ? ", staged file lost" : ""));
            TempFolder folder;
            WriteOldSet(folder);
            KillCommitAfter(folder, placed);
            if (loseStaged)
                for (const std::string& name : folder.Names())
                    if (name.rfind(last, 0) == 0 && TemporaryWriter(name) &&
                        folder.Read(name) == NewContents(kFiles - 1))
                        std::filesystem::remove(folder.File(name));
            const std::vector<CommitRecoveryNote> notes = WriteIntoFolder(folder);
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].result,
                      loseStaged ? CommitRecoveryNote::Result::PutBack : CommitRecoveryNote::Result::Finished)
                << notes[0].message;
            EXPECT_EQ(notes[0].setFile, folder.File(last));
            EXPECT_NE(notes[0].message.find(folder.File(last)), std::string::npos) << notes[0].message;
            // No temporary, second name or record is left.
            EXPECT_EQ(Contents(folder), Set(!loseStaged));
        }
    }
}

TEST(CommitRecovery, ARecordOfARunningWriterIsLeftAloneAndADamagedOneChangesNothing)
{
    {
        TempFolder folder;
        folder.Write("a.dat", "old");
        const std::string staged = OwnTemporaryName(folder.File("a.dat"));
        folder.Write(FileNameOf(staged), "new");
        struct stat stagedInfo, oldInfo;
        ASSERT_EQ(stat(staged.c_str(), &stagedInfo), 0);
        ASSERT_EQ(stat(folder.File("a.dat").c_str(), &oldInfo), 0);
        CommitRecord record{ThisProcess(),
                            {{false, "a.dat", FileNameOf(staged), "", stagedInfo.st_ino, oldInfo.st_ino}}};
        folder.Write(FileNameOf(CommitRecordPath(folder.File("a.dat"))), EncodeCommitRecord(record));
        const auto before = Contents(folder);
        EXPECT_FALSE(RecoverCommitOf(folder.File("a.dat")));
        EXPECT_TRUE(WriteIntoFolder(folder).empty());
        EXPECT_EQ(Contents(folder), before);
    }
    for (bool truncate : {true, false}) {
        SCOPED_TRACE(truncate ? "truncated" : "a byte changed");
        TempFolder folder;
        WriteOldSet(folder);
        KillCommitAfter(folder, kFiles / 2);
        const std::string recordPath = CommitRecordPath(folder.File(FileName(kFiles - 1)));
        std::string bytes = folder.Read(FileNameOf(recordPath));
        if (truncate)
            bytes.resize(bytes.size() / 2);
        else
            bytes[bytes.size() / 2] ^= 1;
        folder.Write(FileNameOf(recordPath), bytes);
        const auto before = Contents(folder);
        const std::vector<CommitRecoveryNote> notes = WriteIntoFolder(folder);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].result, CommitRecoveryNote::Result::Unreadable);
        EXPECT_NE(notes[0].message.find(recordPath), std::string::npos) << notes[0].message;
        EXPECT_EQ(Contents(folder), before);
    }
}
