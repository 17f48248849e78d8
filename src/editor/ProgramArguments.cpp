#include "editor/ProgramArguments.h"

#include "foreign/ForeignFormats.h"

#include "io/PathLookup.h"
#include "settings/InterfaceLanguage.h"

namespace m3d {

namespace {

// The options that take a value: where the value goes and what it must be.
struct ValueOption {
    const char* name;
    std::optional<std::string> ProgramArguments::*value;
    const char* valueName;
    bool (*accepts)(const std::string& value);
};

constexpr ValueOption kValueOptions[] = {
    {"--settings", &ProgramArguments::settingsPath, "a file path", nullptr},
    {"--lang", &ProgramArguments::language, "ja or en", IsInterfaceLanguage},
};

// The option named by argument ("--name" or "--name=value"), if it takes a value.
const ValueOption* FindValueOption(const std::string& argument)
{
    const std::string name = argument.substr(0, argument.find('='));
    for (const ValueOption& option : kValueOptions)
        if (name == option.name) return &option;
    return nullptr;
}

}  // namespace

const char* ProgramVersion() { return M3D_VERSION; }

std::string ProgramUsage()
{
    return std::string(
               "usage: marionettica3d [--settings PATH] [--lang ja|en] [FILE]\n"
               "Poses and animates models made of rigid parts. FILE is a project (.anm) to open,\n"
               "a model in the editor's own formats (.mqo, .mesh) to add as a part, or a model\n"
               "from another program to bring in as a new project:\n  ") +
           ForeignFilePattern() +
           "\n"
           "Saves projects (.anm with one .mesh per part) and exports the model with all its\n"
           "motions as glTF 2.0 (.glb, .gltf) or DirectX text (.x) (File > Export), and\n"
           "pictures of a motion as .webp, .gif, .mp4, .webm or .png (File > Render Animation).\n"
           "options:\n"
           "  --settings PATH  read and write the settings file PATH instead of the usual one\n"
           "  --lang ja|en     the interface language (Japanese or English), remembered for later runs\n"
           "  --help, -h       print this help and exit\n"
           "  --version        print the program's version and exit\n"
           "The command-line program marionettica3d-cli works without a display.\n";
}

ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments)
{
    ProgramArguments result;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--help" || a == "-h") {
            result.showHelp = true;
        } else if (a == "--version") {
            result.showVersion = true;
        } else if (const ValueOption* option = FindValueOption(a)) {
            const size_t equals = a.find('=');
            if (equals == std::string::npos && i + 1 >= arguments.size()) {
                result.error = std::string(option->name) + ": " + option->valueName + " must follow";
                return result;
            }
            const std::string value = equals == std::string::npos ? arguments[++i] : a.substr(equals + 1);
            if (option->accepts && !option->accepts(value)) {
                result.error = std::string(option->name) + ": " + value + ": give " + option->valueName;
                return result;
            }
            result.*option->value = value;
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
    if (ForeignReaderOf(name)) return FileAction::OpenModel;
    return FileAction::None;
}

}  // namespace m3d
