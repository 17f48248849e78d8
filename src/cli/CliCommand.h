#pragma once

#include <string>
#include <vector>

namespace m3d {

// A sub-command of marionettica3d-cli. args are the words after the command's
// name. A handler prints its JSON result on stdout and returns 0, or prints one
// line naming the file and the reason on stderr and returns 1 (2 for misuse).
using CliHandler = int (*)(const std::vector<std::string>& args);

// Each command file registers itself with a static instance of this.
struct CliCommandRegistration {
    CliCommandRegistration(const char* name, const char* usage, CliHandler handler);
};

struct CliCommandEntry {
    const char* name;
    const char* usage;
    CliHandler handler;
};

// Every registered command, in registration order.
std::vector<CliCommandEntry>& CliCommands();

}  // namespace m3d
