#pragma once

#include <functional>
#include <optional>
#include <string>

namespace m3d {

// The settings file's name, and the folder that holds it inside the user's
// configuration folder.
inline constexpr const char* kSettingsFileName = "Marionet3D.ini";
inline constexpr const char* kSettingsFolderName = "Marionettica3D";

// Looks up an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The environment of this process.
std::optional<std::string> ProcessEnvironment(const char* name);

// Where the settings file lives, first match wins:
// 1. explicitPath (from "--settings PATH") when given and not empty;
// 2. beside the executable when a Marionet3D.ini already stands there (portable use);
// 3. $XDG_CONFIG_HOME/Marionettica3D/Marionet3D.ini when that variable is an absolute path;
// 4. $HOME/.config/Marionettica3D/Marionet3D.ini when HOME is set;
// 5. beside the executable.
// The folder is not created here; saving creates it.
std::string ResolveSettingsPath(const std::string& executableDirectory, const EnvironmentLookup& environment,
                                const std::optional<std::string>& explicitPath);

}  // namespace m3d
