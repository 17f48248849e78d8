// A set of files is replaced whole or not at all.
#include "io/FileSetWriter.h"
#include "support/ResourceLimits.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace m3d;

namespace {

// The old export: a main file and the two files it refers to.
void WriteOldSet(const TempFolder& folder)
{
    folder.Write("a.bin", "old bin");
    folder.Write("a_t.png", "old png");
    folder.Write("a.gltf", "old gltf");
}

Outcome AddNewSet(FileSetWriter& set, const TempFolder& folder, const FileSetOptions& options = {})
{
    Outcome added = set.Add(folder.File("a.bin"), "new bin", options);
    if (added) added = set.Add(folder.File("a_t.png"), "new png", options);
    if (added) added = set.Add(folder.File("a.gltf"), "new gltf", options);
    return added;
}

void ExpectOldSet(const TempFolder& folder)
{
    EXPECT_EQ(folder.Read("a.bin"), "old bin");
    EXPECT_EQ(folder.Read("a_t.png"), "old png");
    EXPECT_EQ(folder.Read("a.gltf"), "old gltf");
}

}  // namespace

TEST(FileSetWriter, NothingIsReplacedBeforeCommitAndEverythingAfter)
{
    TempFolder folder;
    WriteOldSet(folder);
    {
        FileSetWriter set;
        ASSERT_TRUE(Succeeded(AddNewSet(set, folder)));
        ExpectOldSet(folder);
        ASSERT_TRUE(Succeeded(set.Add(folder.File("b.txt"), "first")));
        ASSERT_TRUE(Succeeded(set.Add(folder.File("b.txt"), "second")));
        ASSERT_TRUE(Succeeded(set.Commit()));
    }
    EXPECT_EQ(folder.Read("a.bin"), "new bin");
    EXPECT_EQ(folder.Read("a_t.png"), "new png");
    EXPECT_EQ(folder.Read("a.gltf"), "new gltf");
    EXPECT_EQ(folder.Read("b.txt"), "second");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.bin", "a.gltf", "a_t.png", "b.txt"}));

    // An abandoned set leaves no temporaries behind.
    {
        FileSetWriter set;
        ASSERT_TRUE(Succeeded(set.Add(folder.File("c.txt"), "new")));
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.bin", "a.gltf", "a_t.png", "b.txt"}));
}

TEST(FileSetWriter, RefusedTargetsNameTheFileAndTheCause)
{
    TempFolder folder;
    WriteOldSet(folder);
    chmod(folder.File("a_t.png").c_str(), 0444);
    FileSetWriter set;
    EXPECT_EQ(AddNewSet(set, folder).Message(),
              folder.File("a_t.png") + ": the file is read-only; nothing was written");
    FileSetOptions replace;
    replace.replaceReadOnly = true;
    FileSetWriter allowed;
    ASSERT_TRUE(Succeeded(AddNewSet(allowed, folder, replace)));

    std::filesystem::create_directory(folder.File("dir.bin"));
    EXPECT_EQ(set.Add(folder.File("dir.bin"), "x").Message(),
              folder.File("dir.bin") + ": a folder, not a regular file; nothing was written");
    const std::string tooLong = folder.File(std::string(300, 'n') + ".bin");
    const Outcome refused = set.Add(tooLong, "x");
    EXPECT_EQ(refused.ErrorNumber(), ENAMETOOLONG) << refused.Message();
    EXPECT_NE(refused.Message().find(tooLong), std::string::npos);
    ExpectOldSet(folder);
}

// A write beyond the file size limit fails part way (EFBIG), as a full disk would.
TEST(FileSetWriter, AFailedWriteOfOneFileLeavesTheOldSetAndNothingElse)
{
    TempFolder folder;
    WriteOldSet(folder);
    EXPECT_TRUE(RunWithFileSizeLimit(1 << 20, [&] {
        FileSetWriter set;
        return set.Add(folder.File("a.bin"), "new bin") &&
               set.Add(folder.File("a_t.png"), std::string(4 << 20, 'x')).ErrorNumber() == EFBIG;
    }));
    ExpectOldSet(folder);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.bin", "a.gltf", "a_t.png"}));
}

TEST(FileSetWriter, AFailureWhilePuttingFilesInPlacePutsBackWhatWasReplaced)
{
    TempFolder folder;
    WriteOldSet(folder);
    FileSetWriter set;
    ASSERT_TRUE(Succeeded(set.Add(folder.File("a.bin"), "new bin")));
    ASSERT_TRUE(Succeeded(set.Add(folder.File("fresh.png"), "new")));
    ASSERT_TRUE(Succeeded(AddNewSet(set, folder)));
    // The image's place is taken by a folder after it was written: renaming over it fails.
    std::filesystem::remove(folder.File("a_t.png"));
    std::filesystem::create_directory(folder.File("a_t.png"));
    const Outcome committed = set.Commit();
    EXPECT_FALSE(committed);
    EXPECT_NE(committed.Message().find(folder.File("a_t.png")), std::string::npos) << committed.Message();
    EXPECT_EQ(folder.Read("a.bin"), "old bin");
    EXPECT_EQ(folder.Read("a.gltf"), "old gltf");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.bin", "a.gltf", "a_t.png"}));
}

TEST(FileSetWriter, AFileThatMustNotBeReplacedIsKeptWhenItIsThere)
{
    TempFolder folder;
    folder.Write("skin.png", "theirs");
    FileSetWriter set;
    FileSetOptions keep;
    keep.keepExisting = true;
    ASSERT_TRUE(Succeeded(set.Add(folder.File("skin.png"), "ours", keep)));
    ASSERT_TRUE(Succeeded(set.Add(folder.File("face.png"), "ours", keep)));
    ASSERT_TRUE(Succeeded(set.Commit()));
    EXPECT_EQ(folder.Read("skin.png"), "theirs");
    EXPECT_EQ(folder.Read("face.png"), "ours");
    EXPECT_EQ(set.KeptExisting(), std::vector<std::string>{folder.File("skin.png")});
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"face.png", "skin.png"}));
}

// The temporaries and the commit's record beside a file are named after it:
// a name as long as names may be must still leave room for them.
TEST(FileSetWriter, FilesWithTheLongestNamesAreWrittenToo)
{
    TempFolder folder;
    const std::string longest = std::string(255 - 5, 'n') + ".mesh";
    FileSetWriter set;
    ASSERT_TRUE(Succeeded(set.Add(folder.File(longest), "mesh")));
    ASSERT_TRUE(Succeeded(set.Add(folder.File("a.anm"), "project")));
    ASSERT_TRUE(Succeeded(set.Add(folder.File("z" + longest.substr(1)), "last")));
    ASSERT_TRUE(Succeeded(set.Commit()));
    EXPECT_EQ(folder.Read(longest), "mesh");
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.anm", longest, "z" + longest.substr(1)}));
}
