#include "settings/ProfileFile.h"
#include "settings/RecentFiles.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace m3d;

TEST(RecentFiles, NewestFirstOncePerFileAtMostEight)
{
    TempFolder folder;
    const std::string canonicalFolder = std::filesystem::canonical(folder.path).string();
    RecentFiles recent;
    for (int i = 0; i < 10; ++i) recent.Add(folder.File("p" + std::to_string(i) + ".anm"));
    ASSERT_EQ(recent.Paths().size(), 8u);
    EXPECT_EQ(recent.Paths().front(), canonicalFolder + "/p9.anm");
    EXPECT_EQ(recent.Paths().back(), canonicalFolder + "/p2.anm");

    // Another spelling of a listed file, here through a link to the folder, moves it to the front.
    std::filesystem::create_directory_symlink(folder.path, folder.File("link"));
    recent.Add(folder.File("link/sub/../p5.anm"));
    ASSERT_EQ(recent.Paths().size(), 8u);
    EXPECT_EQ(recent.Paths()[0], canonicalFolder + "/p5.anm");
    EXPECT_EQ(recent.Paths()[1], canonicalFolder + "/p9.anm");
    EXPECT_EQ(std::count(recent.Paths().begin(), recent.Paths().end(), canonicalFolder + "/p5.anm"), 1);

    recent.Remove(folder.File("./p9.anm"));
    ASSERT_EQ(recent.Paths().size(), 7u);
    EXPECT_EQ(recent.Paths()[1], canonicalFolder + "/p8.anm");
    recent.Add("");
    EXPECT_EQ(recent.Paths().size(), 7u);

    EXPECT_EQ(RecentFileMenuText(0, "/a/b.anm"), "&1 /a/b.anm");
    EXPECT_EQ(RecentFileMenuText(7, "/R&D/x.anm"), "&8 /R&&D/x.anm");
}

TEST(RecentFiles, SectionKeepsTheOrderAndAShorterListClearsTheRest)
{
    ProfileFile profile;
    profile.Parse("[RECENT]\nFILE0=/w/a.anm\nFILE1=\nFILE2=/w/b.anm\nFILE3=/w/x/../a.anm\nFILE4=/w/c.anm\n");
    RecentFiles recent;
    recent.Read(profile);
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/w/a.anm", "/w/b.anm", "/w/c.anm"}));

    ProfileFile written;
    recent.Write(written);
    recent.Remove("/w/a.anm");
    recent.Write(written);
    EXPECT_EQ(written.Text(),
              "[RECENT]\nFILE0=/w/b.anm\nFILE1=/w/c.anm\nFILE2=\nFILE3=\nFILE4=\nFILE5=\nFILE6=\nFILE7=\n");
    RecentFiles back;
    back.Read(written);
    EXPECT_EQ(back.Paths(), recent.Paths());
}
