#include "settings/SettingsLocation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace m3d {

namespace fs = std::filesystem;

std::optional<std::string> ProcessEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

std::string ResolveSettingsPath(const std::string& executableDirectory, const EnvironmentLookup& environment,
                                const std::optional<std::string>& explicitPath)
{
    if (explicitPath && !explicitPath->empty()) return *explicitPath;

    const fs::path portable = fs::path(executableDirectory) / kSettingsFileName;
    std::error_code ec;
    if (!executableDirectory.empty() && fs::is_regular_file(portable, ec)) return portable.string();

    // An empty or relative XDG_CONFIG_HOME is to be ignored.
    const std::optional<std::string> xdg = environment ? environment("XDG_CONFIG_HOME") : std::nullopt;
    if (xdg && !xdg->empty() && fs::path(*xdg).is_absolute())
        return (fs::path(*xdg) / kSettingsFolderName / kSettingsFileName).string();

    const std::optional<std::string> home = environment ? environment("HOME") : std::nullopt;
    if (home && !home->empty()) return (fs::path(*home) / ".config" / kSettingsFolderName / kSettingsFileName).string();

    return portable.string();
}

}  // namespace m3d
