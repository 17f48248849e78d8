#include "settings/SettingsLocation.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>

using namespace m3d;

namespace {

EnvironmentLookup Environment(std::map<std::string, std::string> variables)
{
    return [variables](const char* name) -> std::optional<std::string> {
        const auto it = variables.find(name);
        if (it == variables.end()) return std::nullopt;
        return it->second;
    };
}

}  // namespace

TEST(SettingsLocation, PicksExplicitThenPortableThenConfigFolder)
{
    TempFolder exe;
    const auto env = Environment({{"XDG_CONFIG_HOME", "/xdg"}, {"HOME", "/home/u"}});
    EXPECT_EQ(ResolveSettingsPath(exe.path, env, std::nullopt), "/xdg/Marionettica3D/Marionet3D.ini");
    EXPECT_EQ(ResolveSettingsPath(exe.path, env, std::string("/tmp/my.ini")), "/tmp/my.ini");
    EXPECT_EQ(ResolveSettingsPath(exe.path, env, std::string()), "/xdg/Marionettica3D/Marionet3D.ini");

    exe.Write("Marionet3D.ini", "");
    EXPECT_EQ(ResolveSettingsPath(exe.path, env, std::nullopt), exe.File("Marionet3D.ini"));
    EXPECT_EQ(ResolveSettingsPath(exe.path, env, std::string("/tmp/my.ini")), "/tmp/my.ini");
}

TEST(SettingsLocation, FallsBackFromXdgToHomeToTheExecutable)
{
    TempFolder exe;
    EXPECT_EQ(ResolveSettingsPath(exe.path, Environment({{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u"}}), std::nullopt),
              "/home/u/.config/Marionettica3D/Marionet3D.ini");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    EXPECT_EQ(
        ResolveSettingsPath(exe.path, Environment({{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}}), std::nullopt),
        "/home/u/.config/Marionettica3D/Marionet3D.ini");
    EXPECT_EQ(ResolveSettingsPath(exe.path, Environment({}), std::nullopt), exe.File("Marionet3D.ini"));
}
