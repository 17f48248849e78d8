#include "editor/ProgramArguments.h"

#include "io/PathLookup.h"

namespace {
constexpr const char* kSettingsOption = "--settings";
}

const char* ProgramVersion() { return M3D_VERSION; }

std::string ProgramUsage()
{
    return "usage: marionettica3d [--settings PATH] [FILE]\n"
           "Poses and animates models made of rigid parts. FILE is a project (.anm) to open\n"
           "or a model (.mqo, .mesh) to add as a part.\n"
           "options:\n"
           "  --settings PATH  read and write the settings file PATH instead of the usual one\n"
           "  --help, -h       print this help and exit\n"
           "  --version        print the program's version and exit\n"
           "The command-line program marionettica3d-cli works without a display.\n";
}

ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments)
{
    ProgramArguments result;
    const std::string withValue = std::string(kSettingsOption) + "=";
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--help" || a == "-h") {
            result.showHelp = true;
        } else if (a == "--version") {
            result.showVersion = true;
        } else if (a == kSettingsOption) {
            if (i + 1 >= arguments.size()) {
                result.error = "--settings: a file path must follow";
                return result;
            }
            result.settingsPath = arguments[++i];
        } else if (a.rfind(withValue, 0) == 0) {
            result.settingsPath = a.substr(withValue.size());
        } else if (a.size() > 1 && a[0] == '-' && a != "--") {
            result.error = a + ": unknown option";
            return result;
        } else if (a == "--") {
            if (i + 1 < arguments.size() && !result.file) result.file = arguments[i + 1];
            if (i + 2 < arguments.size()) result.error = arguments[i + 2] + ": only one file can be named";
            return result;
        } else if (result.file) {
            result.error = a + ": only one file can be named";
            return result;
        } else {
            result.file = a;
        }
    }
    return result;
}

FileAction ActionForFile(const std::string& path)
{
    const std::string name = FileNameOf(path);
    if (name.find(".anm") != std::string::npos) return FileAction::OpenProject;
    if (name.find(".mesh") != std::string::npos || name.find(".mqo") != std::string::npos) return FileAction::AddPart;
    return FileAction::None;
}
