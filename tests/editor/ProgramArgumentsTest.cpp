#include "editor/DisplayCheck.h"
#include "editor/ProgramArguments.h"

#include <gtest/gtest.h>

#include <map>

using namespace m3d;

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

TEST(ProgramArguments, HelpAndVersionAreFoundAmongOtherArguments)
{
    EXPECT_TRUE(ParseProgramArguments({"--help"}).showHelp);
    EXPECT_TRUE(ParseProgramArguments({"walk.anm", "-h"}).showHelp);
    const ProgramArguments version = ParseProgramArguments({"--settings", "x.ini", "--version"});
    EXPECT_TRUE(version.showVersion);
    EXPECT_FALSE(version.showHelp);
    EXPECT_FALSE(ParseProgramArguments({"--", "--help"}).showHelp);  // a file of that name
}

TEST(DisplayCheck, ADisplayOrAPlatformWithoutOneIsNeeded)
{
    using Environment = std::map<std::string, std::string>;
    auto reason = [](const Environment& variables, const std::vector<std::string>& arguments = {}) {
        return MissingDisplayReason(arguments, [&](const char* name) -> std::optional<std::string> {
            const auto found = variables.find(name);
            if (found == variables.end()) return std::nullopt;
            return found->second;
        });
    };
    EXPECT_EQ(reason({}), "neither DISPLAY nor WAYLAND_DISPLAY is set");
    EXPECT_EQ(reason({{"DISPLAY", ""}}), "neither DISPLAY nor WAYLAND_DISPLAY is set");
    EXPECT_EQ(reason({{"DISPLAY", ":0"}}), "");
    EXPECT_EQ(reason({{"WAYLAND_DISPLAY", "wayland-0"}}), "");
    EXPECT_EQ(reason({{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}), "DISPLAY is not set");
    EXPECT_EQ(reason({{"QT_QPA_PLATFORM", "wayland-egl"}, {"DISPLAY", ":0"}}), "WAYLAND_DISPLAY is not set");
    EXPECT_EQ(reason({{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}}), "");
    EXPECT_EQ(reason({{"QT_QPA_PLATFORM", "vnc:size=800x600"}}), "");
    // The command line's platform wins over the environment's.
    EXPECT_EQ(reason({{"QT_QPA_PLATFORM", "xcb"}}, {"-platform", "offscreen"}), "");
    EXPECT_EQ(reason({{"QT_QPA_PLATFORM", "offscreen"}}, {"-platform", "xcb"}), "DISPLAY is not set");
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
