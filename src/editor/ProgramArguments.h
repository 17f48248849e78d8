#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m3d {

// The editor's command line: "[--settings PATH] [--lang ja|en] [FILE]", or "--help" or "--version" alone.
struct ProgramArguments {
    std::optional<std::string> settingsPath;  // from "--settings PATH" or "--settings=PATH"
    std::optional<std::string> language;      // from "--lang CODE" or "--lang=CODE": "ja" or "en"
    std::optional<std::string> file;          // the file to open or add at start-up
    bool showHelp = false;                    // "--help" or "-h": print ProgramUsage() and stop
    bool showVersion = false;                 // "--version": print the name and ProgramVersion() and stop
    std::string error;                        // "" when the line was understood
};

// Reads the arguments after the program name. Unknown options, a language the
// interface does not have and a second file are errors (the message names the
// argument); the values found so far are kept.
ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments);

// The version the program was built as, such as "1.0.0".
const char* ProgramVersion();
// What "marionettica3d --help" prints: the usage line, then one line per option.
std::string ProgramUsage();

// What a file named on the command line (or dropped on the window) does,
// decided by case-sensitive substrings of its name part (after the last '/'
// or '\\'): ".anm" opens a project; otherwise ".mesh" or ".mqo" adds a Part;
// a model file of another program's format (foreign/ForeignFormats.h, by
// its ending) opens as a new document with its tree and animations; anything
// else does nothing.
enum class FileAction { None, OpenProject, AddPart, OpenModel };
FileAction ActionForFile(const std::string& path);

}  // namespace m3d
