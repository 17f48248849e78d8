#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace m3d {

// Which process left a file that must not outlive it (a temporary, the record
// of a commit): its pid, its start time and the boot it ran in, so that a pid
// used again by a later process, or after a restart, is not taken for it.
struct ProcessIdentity {
    long pid = 0;
    // Clock ticks from boot to the process's start (/proc/PID/stat, field 22);
    // 0 where /proc cannot tell.
    unsigned long long startTicks = 0;
    // The first 8 hexadecimal digits of /proc/sys/kernel/random/boot_id; "" where it cannot be read.
    std::string boot;

    bool operator==(const ProcessIdentity&) const = default;
};

// This process, worked out again after a fork.
const ProcessIdentity& ThisProcess();

// What can be told of the process that wrote a file.
enum class WriterState {
    Running,  // a process of this boot runs with its pid and start time
    Gone,     // no process of this boot runs with them
    Unseen,   // of another boot, or this system has no /proc to ask: perhaps a
              // process on another machine sharing the folder
};
WriterState StateOfWriter(const ProcessIdentity& writer);

// A file of ours this old, from a writer that cannot be seen, is no write in
// progress but one that was killed.
constexpr time_t kStaleFileSeconds = 60;

// Whether the writer of a file last changed ageSeconds ago is surely gone:
// Gone, or Unseen and the file older than kStaleFileSeconds.
bool CountsAsGone(WriterState state, time_t ageSeconds);

// "PID-START-BOOT", the identity as it appears in file names and records.
std::string IdentityToken(const ProcessIdentity& identity);
// The identity of such a token; nullopt for anything else.
std::optional<ProcessIdentity> ParseIdentityToken(std::string_view token);

}  // namespace m3d
