#pragma once

#include "support/TempFolder.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>

// Runs the command-line program and collects what it printed.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& text) { return "'" + text + "'"; }

// Runs marionettica3d-cli with arguments (already quoted where needed);
// stderr goes through a file in folder.
inline CliResult RunCli(const TempFolder& folder, const std::string& arguments)
{
    const std::string errFile = folder.File("stderr.txt");
    const std::string command = Quote(M3D_CLI_PATH) + " " + arguments + " 2>" + Quote(errFile);
    CliResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = folder.Read("stderr.txt");
    return result;
}
