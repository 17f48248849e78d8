// A downloaded folder with crafted commit records: neither reading the project
// in it, nor opening it for editing, nor writing into the folder may remove or
// replace a file outside the folder, or a file in it that no save of ours made.
#include "editor/FileCommands.h"
#include "io/CommitRecord.h"
#include "io/PathLookup.h"
#include "io/TemporaryNames.h"
#include "support/CliFigure.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace m3d;

namespace {

// A writer gone long ago whose boot cannot be told (another machine's, say).
const ProcessIdentity kWriter{4242, 7, ""};

uint64_t InodeOf(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? uint64_t(info.st_ino) : 0;
}

// An entry whose staged file is missing and whose target holds stagedInode:
// to a recovery that goes by inodes alone, a file the commit put in place.
CommitRecordEntry PlacedEntry(const std::string& target, uint64_t stagedInode)
{
    CommitRecordEntry entry;
    entry.target = target;
    entry.staged = FileNameOf(target) + ".m3d-tmp-" + IdentityToken(kWriter) + "-aaaaaa";
    entry.stagedFile.inode = stagedInode;
    return entry;
}

enum class Claim {
    OutsideByAbsolutePath,  // the canary outside, by its path and inode
    InsideByGuessedInode,   // the user's readme.txt, by its name, inode and size
    HugeRecord,             // 20,000 guesses at the canary's inode, some 3 MB
};

// A saved project with a file of the user's beside it (readme.txt), a canary
// outside the folder, and records beside the project and the readme.
struct DownloadedFolder : CliFigure {
    TempFolder outside;
    TempFolder pictures;
    const Claim claim;

    explicit DownloadedFolder(Claim claim) : claim(claim)
    {
        AddBodyWithPartnerArms();
        NewMotionCommand(session, "walk");
        Save();
    }
    std::string RecordOf(const std::string& name) const { return CommitRecordPath(folder.File(name)); }
    // Puts the canary, the readme and the records (an hour old) back as they were first.
    void Arm() const
    {
        outside.Write("canary.txt", "keep");
        folder.Write("readme.txt", "mine");
        const std::string canary = outside.File("canary.txt");
        CommitRecord record{kWriter, false, {}};
        if (claim == Claim::OutsideByAbsolutePath) record.entries.push_back(PlacedEntry(canary, InodeOf(canary)));
        if (claim == Claim::InsideByGuessedInode) {
            record.entries.push_back(PlacedEntry("readme.txt", InodeOf(folder.File("readme.txt"))));
            record.entries.back().stagedFile.size = 4;
        }
        if (claim == Claim::HugeRecord)
            for (uint64_t guess = InodeOf(canary) - 10000; guess < InodeOf(canary) + 10000; ++guess)
                record.entries.push_back(PlacedEntry(canary, guess));
        // Never put in place, nothing there: the commit cannot be finished, only put back.
        record.entries.push_back(PlacedEntry("never.dat", 1));
        const timespec anHourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        for (const char* name : {"figure.anm", "readme.txt"}) {
            folder.Write(FileNameOf(RecordOf(name)), EncodeCommitRecord(record));
            utimensat(AT_FDCWD, RecordOf(name).c_str(), anHourAgo, 0);
        }
    }
    void ExpectIntact(const std::string& after) const
    {
        EXPECT_EQ(outside.Read("canary.txt"), "keep") << after;
        EXPECT_EQ(folder.Read("readme.txt"), "mine") << after;
        // A record refused is left where it is, for the user to look at.
        if (claim == Claim::InsideByGuessedInode) return;
        for (const char* name : {"figure.anm", "readme.txt"})
            EXPECT_TRUE(folder.Exists(FileNameOf(RecordOf(name)))) << after << ": " << name;
    }
};

}  // namespace

TEST(HostileCommitRecord, ReadingOpeningOrWritingTouchesNoFileOutsideTheFolderNorOneNotOurs)
{
    for (Claim claim : {Claim::OutsideByAbsolutePath, Claim::InsideByGuessedInode, Claim::HugeRecord}) {
        SCOPED_TRACE(int(claim));
        DownloadedFolder downloaded(claim);
        const std::string project = Quote(downloaded.path);

        downloaded.Arm();
        CliResult run = downloaded.Run("info " + project);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        // Only reading: the save is said to be pending, nothing more.
        EXPECT_NE(run.err.find(downloaded.RecordOf("figure.anm")), std::string::npos) << run.err;
        downloaded.ExpectIntact("info");

        downloaded.Arm();
        run = downloaded.Run("thumbnail -s 16 " + project + " " + Quote(downloaded.pictures.File("t.png")));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find(downloaded.RecordOf("figure.anm")), std::string::npos) << run.err;
        downloaded.ExpectIntact("thumbnail");

        downloaded.Arm();
        EditorSession opened;
        ScriptedPrompt prompt;
        EXPECT_TRUE(OpenProjectCommand(opened, prompt, downloaded.path));
        // Every record of the folder is ended, and the notes say how: each
        // record refused, or the file they claim left alone.
        ASSERT_EQ(prompt.asked.size(), 2u);
        const std::string notes = prompt.asked[0] + "\n" + prompt.asked[1];
        if (claim == Claim::InsideByGuessedInode)
            EXPECT_NE(notes.find(downloaded.folder.File("readme.txt") + "\n"), std::string::npos) << notes;
        else
            for (const char* name : {"figure.anm", "readme.txt"})
                EXPECT_NE(notes.find(downloaded.RecordOf(name)), std::string::npos) << notes;
        downloaded.ExpectIntact("open for editing");

        // A write into the folder ends every interrupted commit found there.
        downloaded.Arm();
        run = downloaded.Run("export-x " + project + " " + Quote(downloaded.folder.File("out.x")));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        downloaded.ExpectIntact("export into the folder");
    }
}
