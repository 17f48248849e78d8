// A set commit killed part way is finished or undone by the next write, whole.
#include "io/CommitRecord.h"
#include "io/CommitRecovery.h"
#include "io/FileFingerprint.h"
#include "io/FileSetWriter.h"
#include "io/PathLookup.h"
#include "io/TemporaryNames.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
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
    enum class Staged { Whole, Lost, ChangedInPlace };
    for (size_t placed : {size_t(0), size_t(kFiles / 2), size_t(kFiles)}) {
        for (Staged staged : {Staged::Whole, Staged::Lost, Staged::ChangedInPlace}) {
            // Once every file is in place there is no staged file to damage.
            if (staged != Staged::Whole && placed == kFiles) continue;
            SCOPED_TRACE("placed " + std::to_string(placed) + ", staged file " + std::to_string(int(staged)));
            TempFolder folder;
            WriteOldSet(folder);
            KillCommitAfter(folder, placed);
            for (const std::string& name : folder.Names()) {
                if (staged == Staged::Whole || name.rfind(last, 0) != 0 || !TemporaryWriter(name) ||
                    folder.Read(name) != NewContents(kFiles - 1))
                    continue;
                if (staged == Staged::Lost) {
                    std::filesystem::remove(folder.File(name));
                } else {
                    // The same file (inode), other contents: no longer what the commit staged.
                    const int fd = open(folder.File(name).c_str(), O_WRONLY | O_APPEND);
                    ASSERT_EQ(write(fd, "!", 1), 1);
                    close(fd);
                }
            }
            const std::vector<CommitRecoveryNote> notes = WriteIntoFolder(folder);
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].result, staged == Staged::Whole ? CommitRecoveryNote::Result::Finished
                                                               : CommitRecoveryNote::Result::PutBack)
                << notes[0].message;
            EXPECT_EQ(notes[0].setFile, folder.File(last));
            EXPECT_NE(notes[0].message.find(folder.File(last)), std::string::npos) << notes[0].message;
            // No temporary, second name or record is left.
            EXPECT_EQ(Contents(folder), Set(staged == Staged::Whole));
        }
    }
}

TEST(CommitRecovery, AFileChangedSinceTheKillIsLeftAloneAndNamed)
{
    TempFolder folder;
    WriteOldSet(folder);
    KillCommitAfter(folder, kFiles / 2);
    // The first file, put in place by the commit, replaced by the user since; the last one staged still.
    folder.Write("user.tmp", "the user's");
    std::filesystem::rename(folder.File("user.tmp"), folder.File(FileName(0)));
    const std::vector<CommitRecoveryNote> notes = WriteIntoFolder(folder);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].result, CommitRecoveryNote::Result::PutBack) << notes[0].message;
    EXPECT_EQ(notes[0].leftAlone, std::vector<std::string>{folder.File(FileName(0))});
    EXPECT_NE(notes[0].message.find(folder.File(FileName(0))), std::string::npos) << notes[0].message;
    std::map<std::string, std::string> expected = Set(false);
    expected[FileName(0)] = "the user's";
    EXPECT_EQ(Contents(folder), expected);
}

TEST(CommitRecovery, ARecordOfARunningWriterIsLeftAloneAndADamagedOneChangesNothing)
{
    {
        TempFolder folder;
        folder.Write("a.dat", "old");
        const std::string staged = OwnTemporaryName(folder.File("a.dat"));
        folder.Write(FileNameOf(staged), "new");
        struct stat oldInfo;
        ASSERT_EQ(stat(folder.File("a.dat").c_str(), &oldInfo), 0);
        CommitRecord record{ThisProcess(),
                            false,
                            {{false, "a.dat", FileNameOf(staged), "", *FingerprintOf(staged), {oldInfo.st_ino, 0, 0}}}};
        folder.Write(FileNameOf(CommitRecordPath(folder.File("a.dat"))), EncodeCommitRecord(record));
        const auto before = Contents(folder);
        EXPECT_FALSE(RecoverCommit(CommitRecordPath(folder.File("a.dat"))));
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
        EXPECT_EQ(notes[0].result, CommitRecoveryNote::Result::Refused);
        EXPECT_NE(notes[0].message.find(recordPath), std::string::npos) << notes[0].message;
        EXPECT_EQ(Contents(folder), before);
    }
}

TEST(CommitRecord, ARecordNamingAnythingButFilesOfItsFolderIsRefusedWhole)
{
    const ProcessIdentity writer{4242, 7, "0123abcd"};
    const auto entry = [&writer](const std::string& target) {
        return CommitRecordEntry{false, target,    "t.m3d-tmp-" + IdentityToken(writer) + "-" + "abcdef",
                                 "",    {9, 1, 2}, {}};
    };
    CommitRecord good{writer, false, {entry("a.mesh")}};
    CommitRecord read;
    ASSERT_TRUE(Succeeded(DecodeCommitRecord(EncodeCommitRecord(good), "r", read)));
    EXPECT_EQ(read, good);
    const std::string ours = "b.m3d-tmp-" + IdentityToken(writer) + "-ghijkl";
    for (const std::string target : {"/home/user/.profile", "/proc/self/cwd/.profile", "../x", "a/b", "..", ".", "",
                                     "x.m3d-commit", ours.c_str(), "a.mesh"}) {
        SCOPED_TRACE(target);
        CommitRecord bad = good;
        bad.entries.push_back(entry(target));
        bad.entries.back().staged.replace(0, 1, "u");  // names apart from the first entry's
        const Outcome refused = DecodeCommitRecord(EncodeCommitRecord(bad), "folder/x.m3d-commit", read);
        EXPECT_FALSE(refused);
        EXPECT_EQ(refused.Message().rfind("folder/x.m3d-commit: ", 0), 0u) << refused.Message();
    }
    CommitRecord many = good;
    for (size_t i = 0; i < kMaxCommitRecordEntries; ++i) {
        many.entries.push_back(entry("f" + std::to_string(i)));
        many.entries.back().staged = "f" + std::to_string(i) + good.entries[0].staged.substr(1);
    }
    ASSERT_LE(EncodeCommitRecord(many).size(), kMaxCommitRecordBytes);
    EXPECT_FALSE(DecodeCommitRecord(EncodeCommitRecord(many), "r", read));
    many.entries.pop_back();
    EXPECT_TRUE(Succeeded(DecodeCommitRecord(EncodeCommitRecord(many), "r", read)));
    // A record of the first version, sealed as such, is no record this version reads.
    std::string first = EncodeCommitRecord(good);
    first = first.substr(0, first.rfind("digest "));
    first.replace(first.find(" 2\n"), 3, " 1\n");
    const Outcome older = DecodeCommitRecord(first + CommitRecordDigestLine(first), "r", read);
    EXPECT_NE(older.Message().find("another version"), std::string::npos) << older.Message();
}

TEST(CommitRecovery, ASetAcrossFoldersKeepsARecordInEachAndEveryFolderEndsAlike)
{
    // b0 and b1 lie in another folder, reached through symbolic links; the set
    // is put in place in the order b0, b1, a0, a1.
    const std::vector<std::string> order{"b0", "b1", "a0", "a1"};
    for (bool undoing : {false, true}) {
        SCOPED_TRACE(undoing ? "killed while undoing" : "killed while renaming");
        TempFolder a, b;
        for (const std::string& name : order) {
            const TempFolder& home = name[0] == 'a' ? a : b;
            home.Write(name, "old " + name);
            if (&home == &b) std::filesystem::create_symlink(b.File(name), a.File(name));
        }
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool failing = false;
            FileSetWriter::SetCommitStepHookForTests([&](size_t placed) {
                // a1 becomes a folder with a file in it, so that its rename fails and the commit is undone.
                if (undoing && placed == 3) {
                    std::filesystem::remove(a.File("a1"));
                    std::filesystem::create_directory(a.File("a1"));
                    a.Write("a1/in", "");
                    failing = true;
                } else if (failing ? placed == 2 : (!undoing && placed == 3)) {
                    _exit(0);
                }
            });
            FileSetWriter set;
            for (const std::string& name : order)
                if (!set.Add(a.File(name), "new " + name)) _exit(2);
            static_cast<void>(set.Commit());
            _exit(3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        CommitRecord record;
        ASSERT_TRUE(Succeeded(DecodeCommitRecord(b.Read("b1.m3d-commit"), "b", record)));
        ASSERT_EQ(record.entries.size(), 2u);
        EXPECT_EQ(record.entries[0].target, "b0");
        EXPECT_EQ(record.entries[1].target, "b1");
        EXPECT_EQ(record.puttingBack, undoing);
        // Each folder is ended alone, and both end as the same set.
        EXPECT_EQ(WriteIntoFolder(b).size(), 1u);
        EXPECT_EQ(WriteIntoFolder(a).size(), 1u);
        for (const std::string name : {"b0", "b1", "a0"})
            EXPECT_EQ(a.Read(name), (undoing ? "old " : "new ") + name) << name;
        if (!undoing) {
            EXPECT_EQ(a.Read("a1"), "new a1");
        }
    }
}
