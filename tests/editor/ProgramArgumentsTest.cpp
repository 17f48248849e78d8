#include "editor/ProgramArguments.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramArguments, SettingsOptionAndOneFileInEitherOrder)
{
    ProgramArguments a = ParseProgramArguments({"--settings", "/tmp/x.ini", "walk.anm"});
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(a.settingsPath.value_or(""), "/tmp/x.ini");
    EXPECT_EQ(a.file.value_or(""), "walk.anm");

    a = ParseProgramArguments({"arm.mqo", "--settings=/a b/c.ini"});
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(a.settingsPath.value_or(""), "/a b/c.ini");
    EXPECT_EQ(a.file.value_or(""), "arm.mqo");

    a = ParseProgramArguments({"--lang", "en", "--settings=/x.ini", "--lang=ja"});
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(a.language.value_or(""), "ja");
    EXPECT_EQ(a.settingsPath.value_or(""), "/x.ini");

    a = ParseProgramArguments({});
    EXPECT_FALSE(a.settingsPath);
    EXPECT_FALSE(a.language);
    EXPECT_FALSE(a.file);

    // A file whose name starts with '-' can follow "--".
    a = ParseProgramArguments({"--", "-odd.mqo"});
    EXPECT_EQ(a.error, "");
    EXPECT_EQ(a.file.value_or(""), "-odd.mqo");
}

TEST(ProgramArguments, MistakesAreReportedByName)
{
    EXPECT_NE(ParseProgramArguments({"--settings"}).error, "");
    EXPECT_NE(ParseProgramArguments({"--bogus"}).error.find("--bogus"), std::string::npos);
    EXPECT_NE(ParseProgramArguments({"--lang"}).error, "");
    EXPECT_NE(ParseProgramArguments({"--lang=fr"}).error.find("fr"), std::string::npos);
    const ProgramArguments two = ParseProgramArguments({"a.mqo", "b.mqo"});
    EXPECT_NE(two.error.find("b.mqo"), std::string::npos);
    EXPECT_EQ(two.file.value_or(""), "a.mqo");
}

TEST(ProgramArguments, FileActionLooksAtTheNamePartOnly)
{
    EXPECT_EQ(ActionForFile("/home/u/walk.anm"), FileAction::OpenProject);
    EXPECT_EQ(ActionForFile("C:\\data\\walk.anm"), FileAction::OpenProject);
    EXPECT_EQ(ActionForFile("model.mqo"), FileAction::AddPart);
    EXPECT_EQ(ActionForFile("dir/arm.mesh"), FileAction::AddPart);
    // A folder named like a project does not make its files projects.
    EXPECT_EQ(ActionForFile("/x/walk.anm/readme.txt"), FileAction::None);
    EXPECT_EQ(ActionForFile("/x.mqo/notes"), FileAction::None);
    // The test is case-sensitive and a substring test.
    EXPECT_EQ(ActionForFile("WALK.ANM"), FileAction::None);
    EXPECT_EQ(ActionForFile("walk.anm.bak"), FileAction::OpenProject);
    // ".anm" wins over the model extensions.
    EXPECT_EQ(ActionForFile("a.mqo.anm"), FileAction::OpenProject);
    EXPECT_EQ(ActionForFile(""), FileAction::None);
}

}  // namespace
