#include "settings/ProfileFile.h"

#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <csignal>
#include <sys/resource.h>

using namespace m3d;

namespace {

ProfileFile Parsed(const std::string& text)
{
    ProfileFile profile;
    profile.Parse(text);
    return profile;
}

}  // namespace

TEST(ProfileFile, NamesMatchIgnoringCaseAndValuesAreTrimmed)
{
    const ProfileFile p = Parsed(
        "stray=1\n"
        "[ Color ]\n"
        "  back  =  -15198184  \n"
        "Grid=\t 7\t\n"
        "; NORMAL=5\n"
        "[color]\n"
        "LINE=9\n"
        "[Other]\n"
        "back=1\n");
    EXPECT_EQ(p.GetInt("COLOR", "BACK", 0), -15198184);
    EXPECT_EQ(p.GetString("color", "grid", "x"), "7");
    // A commented-out key is not a key.
    EXPECT_EQ(p.GetInt("COLOR", "NORMAL", 42), 42);
    // The first section of a name is the one read; a later duplicate is not merged in.
    EXPECT_EQ(p.GetInt("COLOR", "LINE", 42), 42);
    // Keys before the first section belong to no section.
    EXPECT_EQ(p.GetInt("", "stray", 42), 42);
    EXPECT_EQ(p.GetInt("OTHER", "BACK", 0), 1);
    EXPECT_EQ(p.GetString("MISSING", "BACK", "fallback"), "fallback");
}

TEST(ProfileFile, IntegersTakeTheLeadingDigits)
{
    const ProfileFile p = Parsed(
        "[N]\n"
        "a=12abc\nb=abc\nc=-5\nd=+7\ne=4278190335\nf=\ng= -3 \nh=1.9\n");
    EXPECT_EQ(p.GetInt("N", "a", 99), 12);
    EXPECT_EQ(p.GetInt("N", "b", 99), 0);
    EXPECT_EQ(p.GetInt("N", "c", 99), -5);
    EXPECT_EQ(p.GetInt("N", "d", 99), 7);
    // An unsigned colour wraps to the same 32 bits as its signed spelling.
    EXPECT_EQ(p.GetInt("N", "e", 99), -16776961);
    EXPECT_EQ(p.GetInt("N", "f", 99), 99);
    EXPECT_EQ(p.GetInt("N", "g", 99), -3);
    EXPECT_EQ(p.GetInt("N", "h", 99), 1);
    EXPECT_EQ(p.GetInt("N", "missing", 99), 99);
}

TEST(ProfileFile, FloatsTakeTheLongestDecimalPrefix)
{
    const ProfileFile p = Parsed(
        "[F]\n"
        "a=  1.5xyz\nb=abc\nc=-1e3\nd=.25\ne=1e999\nf=-1e999\ng=inf\nh=nan\ni=1e-999\n"
        "j=2.5e\nk=0x10\nl=-.\n");
    EXPECT_FLOAT_EQ(p.GetFloat("F", "a", "9"), 1.5f);
    EXPECT_EQ(p.GetFloat("F", "b", "9"), 0.0f);
    EXPECT_FLOAT_EQ(p.GetFloat("F", "c", "9"), -1000.0f);
    EXPECT_FLOAT_EQ(p.GetFloat("F", "d", "9"), 0.25f);
    EXPECT_EQ(p.GetFloat("F", "e", "9"), FLT_MAX);
    EXPECT_EQ(p.GetFloat("F", "f", "9"), -FLT_MAX);
    EXPECT_EQ(p.GetFloat("F", "g", "9"), 0.0f);
    EXPECT_EQ(p.GetFloat("F", "h", "9"), 0.0f);
    EXPECT_EQ(p.GetFloat("F", "i", "9"), 0.0f);
    EXPECT_FLOAT_EQ(p.GetFloat("F", "j", "9"), 2.5f);
    EXPECT_EQ(p.GetFloat("F", "k", "9"), 0.0f);
    EXPECT_EQ(p.GetFloat("F", "l", "9"), 0.0f);
    // The default is text and goes through the same conversion.
    EXPECT_FLOAT_EQ(p.GetFloat("F", "missing", "-600.0"), -600.0f);
}

TEST(ProfileFile, WritingKeepsEveryOtherLineInPlace)
{
    ProfileFile p = Parsed(
        "; my settings\n"
        "[COLOR]\n"
        "Back = 1\n"
        "CUSTOM=keep me\n"
        "\n"
        "; the view\n"
        "[VIEW]\n"
        "GRID=50\n");
    p.SetInt("color", "BACK", -16776961);
    p.SetInt("COLOR", "NORMAL", 3);
    p.SetFloat("VIEW", "SCALE", 0.25f);
    p.SetString("DIRECTORY", "ADD_OBJECT", "/home/u/models");
    p.SetFloat("DIRECTORY", "X", -600.0f);
    EXPECT_EQ(p.Text(),
              "; my settings\n"
              "[COLOR]\n"
              "Back=-16776961\n"
              "CUSTOM=keep me\n"
              "NORMAL=3\n"
              "\n"
              "; the view\n"
              "[VIEW]\n"
              "GRID=50\n"
              "SCALE=0.250000\n"
              "\n"
              "[DIRECTORY]\n"
              "ADD_OBJECT=/home/u/models\n"
              "X=-600.000000\n");
    EXPECT_EQ(p.GetInt("COLOR", "BACK", 0), -16776961);
}

TEST(ProfileFile, KeepsLineBreaksAndByteOrderMarkAndRejectsInjectedLines)
{
    ProfileFile p = Parsed("\xEF\xBB\xBF[A]\r\nk=1\r\n");
    EXPECT_EQ(p.GetInt("A", "K", 0), 1);
    p.SetString("A", "k", "two\nlines\r[B]");
    EXPECT_EQ(p.Text(), "\xEF\xBB\xBF[A]\r\nk=two lines [B]\r\n");
    EXPECT_EQ(Parsed("").Text(), "");
    // A last line without a line break is still read, and gets one on writing.
    ProfileFile q = Parsed("[A]\nk=5");
    EXPECT_EQ(q.GetInt("A", "k", 0), 5);
    q.SetInt("A", "j", 6);
    EXPECT_EQ(q.Text(), "[A]\nk=5\nj=6\n");
}

TEST(ProfileFile, MissingFileIsEmptyAndSavingRoundTrips)
{
    TempFolder folder;
    ProfileFile p;
    Outcome outcome;
    ASSERT_TRUE(Succeeded(p.Load(folder.File("none.ini"))));
    EXPECT_EQ(p.GetString("A", "b", "default"), "default");

    p.SetInt("A", "b", 12);
    ASSERT_TRUE(Succeeded(p.Save(folder.File("x.ini"))));
    ProfileFile q;
    ASSERT_TRUE(Succeeded(q.Load(folder.File("x.ini"))));
    EXPECT_EQ(q.GetInt("a", "B", 0), 12);

    // A folder where the file should be cannot be read: failure, nothing read.
    std::filesystem::create_directory(folder.File("dir.ini"));
    EXPECT_FALSE((outcome = q.Load(folder.File("dir.ini"))));
    EXPECT_NE(outcome.Message().find("dir.ini"), std::string::npos);
    EXPECT_EQ(q.GetInt("A", "b", 0), 0);
}

TEST(ProfileFile, FailedWriteKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.File("Marionet3D.ini");
    folder.Write("Marionet3D.ini", "[A]\nb=1\n");
    ProfileFile p = Parsed("[A]\nb=1\n");
    p.SetString("A", "long", std::string(4096, 'x'));

    // Simulate a full disk: no file may grow beyond 64 bytes while saving.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Outcome saved = p.Save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_NE(saved.Message().find("Marionet3D.ini"), std::string::npos);
    EXPECT_EQ(folder.Read("Marionet3D.ini"), "[A]\nb=1\n");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), std::filesystem::directory_iterator()),
              1);
}
