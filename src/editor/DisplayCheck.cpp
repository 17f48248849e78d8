#include "editor/DisplayCheck.h"

#include <algorithm>

namespace m3d {

namespace {

bool IsSet(const EnvironmentLookup& environment, const char* name)
{
    const std::optional<std::string> value = environment(name);
    return value && !value->empty();
}

// The platform names asked for, in order ("wayland;xcb" is two); none when no platform is asked for.
std::vector<std::string> RequestedPlatforms(const std::vector<std::string>& arguments,
                                            const EnvironmentLookup& environment)
{
    std::string list = environment("QT_QPA_PLATFORM").value_or("");
    for (size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "-platform" || arguments[i] == "--platform") list = arguments[i + 1];
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        std::string entry = list.substr(start, end - start);
        entry = entry.substr(0, entry.find(':'));  // "vnc:size=800x600" asks for vnc
        if (!entry.empty()) names.push_back(entry);
        start = end + 1;
    }
    return names;
}

}  // namespace

std::string MissingDisplayReason(const std::vector<std::string>& arguments, const EnvironmentLookup& environment)
{
    const bool x11 = IsSet(environment, "DISPLAY");
    const bool wayland = IsSet(environment, "WAYLAND_DISPLAY");
    bool needsX11 = false;
    bool needsWayland = false;
    std::vector<std::string> platforms = RequestedPlatforms(arguments, environment);
    if (platforms.empty()) platforms = {"wayland", "xcb"};
    for (const std::string& name : platforms) {
        if (name == "xcb") {
            if (x11) return "";
            needsX11 = true;
        } else if (name.starts_with("wayland")) {
            if (wayland) return "";
            needsWayland = true;
        } else {
            // offscreen, vnc, eglfs, ... need no display; a platform that cannot start says so itself.
            return "";
        }
    }
    if (needsX11 && needsWayland) return "neither DISPLAY nor WAYLAND_DISPLAY is set";
    return needsX11 ? "DISPLAY is not set" : "WAYLAND_DISPLAY is not set";
}

std::string NoDisplayMessage(const std::string& reason)
{
    return "marionettica3d: no display found (" + reason +
           "); the command-line program marionettica3d-cli works without one";
}

}  // namespace m3d
