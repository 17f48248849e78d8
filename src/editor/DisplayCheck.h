#pragma once

#include "settings/SettingsLocation.h"

#include <string>
#include <vector>

namespace m3d {

// Why the window program would find no display, judged before the window
// system is touched from the arguments after the program name ("-platform
// NAME", which wins) and the environment (QT_QPA_PLATFORM, DISPLAY,
// WAYLAND_DISPLAY). "" when a display is named, when a platform that needs
// none (offscreen, vnc, eglfs, ...) or one not known here is asked for.
std::string MissingDisplayReason(const std::vector<std::string>& arguments, const EnvironmentLookup& environment);

// The one line the window program prints on stderr before it exits with 1.
std::string NoDisplayMessage(const std::string& reason);

}  // namespace m3d
