#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// What a child process may take before it is stopped.
struct ChildLimits {
    // Address space (RLIMIT_AS); 0 for none. Builds with the address
    // sanitizer leave it out, since the sanitizer reserves terabytes up front.
    uint64_t memoryBytes = 0;
    int cpuSeconds = 0;                    // RLIMIT_CPU; 0 for none
    int wallMilliseconds = 60000;          // killed after this long; 0 for no limit
    size_t outputBytes = size_t(1) << 30;  // killed when it writes more on stdout
};

struct ChildResult {
    enum class End {
        Exited,         // exitCode holds its status
        Signalled,      // signal holds the signal that ended it
        TimedOut,       // killed after wallMilliseconds
        TooMuchOutput,  // killed after outputBytes
        NotStarted,     // fork or exec failed; error holds why
    };
    End end = End::NotStarted;
    int exitCode = 0;
    int signal = 0;
    std::string output;  // what it wrote on stdout
    std::string errors;  // what it wrote on stderr (the first 64 KiB)
    std::string error;   // why it could not be started
};

// Runs program (a path; not looked up in PATH) with args, its stdin from
// /dev/null, under limits, and collects what it writes. Blocks until the
// child ends or is killed; no other descriptor of ours reaches the child.
ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            const ChildLimits& limits);

// Whether this build runs under the address sanitizer (memory limits of
// children do not apply there).
bool BuiltWithAddressSanitizer();

}  // namespace m3d
