#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace m3d {

// What a run of the command-line program gave.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Single-quotes text for the shell.
inline std::string Quote(const std::string& text) { return "'" + text + "'"; }

// Runs the shell command, its standard output into out; the exit status as
// pclose gives it, -1 when it could not be started.
inline int RunForOutput(const std::string& command, std::string& out)
{
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    return pclose(pipe);
}

// Runs the command-line program with arguments (already quoted); its error
// output goes through the file stderrPath.
inline CliResult RunCli(const std::string& arguments, const std::string& stderrPath)
{
    const std::string command = Quote(M3D_CLI_PATH) + " " + arguments + " 2>" + Quote(stderrPath);
    CliResult result;
    const int status = RunForOutput(command, result.out);
    if (status == -1) return result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(stderrPath, std::ios::binary);
    std::stringstream text;
    text << err.rdbuf();
    result.err = text.str();
    return result;
}

}  // namespace m3d
