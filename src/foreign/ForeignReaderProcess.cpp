#include "foreign/ForeignReaderProcess.h"

#include "foreign/ForeignRecords.h"
#include "foreign/ForeignSpace.h"
#include "foreign/ModelFolderImages.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace m3d {

namespace {

// The command-line program beside the running one: both are installed in
// one folder, and the build puts every program in one folder too.
std::string ProgramBesideThisOne()
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    std::string path(self, size_t(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1) + "marionettica3d-cli";
}

std::string& ReaderProgram()
{
    static std::string program = ProgramBesideThisOne();
    return program;
}

// The reader's last line on stderr, which names the file and the reason.
std::string LastLine(const std::string& text)
{
    size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos) return {};
    const size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1) + 1);
}

// A failure naming path unless scale is a factor lengths can be multiplied by.
Outcome CheckScale(float scale, const std::string& path)
{
    if (!(scale > 0.0f) || !std::isfinite(scale))
        return Outcome::Failure(path + ": scale " + std::to_string(scale) + " is not a usable factor");
    return Outcome();
}

}  // namespace

void SetForeignReaderProgram(const std::string& path) { ReaderProgram() = path; }

const std::string& ForeignReaderProgram() { return ReaderProgram(); }

ChildLimits ForeignReadLimits()
{
    ChildLimits limits;
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    const uint64_t physical = pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : uint64_t(8) << 30;
    limits.memoryBytes = std::min(physical / 2, uint64_t(4) << 30);
    limits.cpuSeconds = 120;
    limits.wallMilliseconds = 120000;
    limits.outputBytes = size_t(4) << 30;
    return limits;
}

Outcome ReadForeignModelInChild(const std::string& path, ForeignModel& out, const ChildLimits& limits)
{
    out = {};
    if (ReaderProgram().empty()) return Outcome::Failure(path + ": no program to read this format with");
    ChildResult run = RunChildProcess(ReaderProgram(), {"read-model", path}, limits);
    switch (run.end) {
    case ChildResult::End::NotStarted:
        return Outcome::Failure(path + ": the reader program " + ReaderProgram() + " could not be started (" +
                                run.error + ")");
    case ChildResult::End::TimedOut:
        return Outcome::Failure(path + ": reading took longer than " + std::to_string(limits.wallMilliseconds / 1000) +
                                " s and was stopped");
    case ChildResult::End::TooMuchOutput: return Outcome::Failure(path + ": the model is too large to bring in");
    case ChildResult::End::Signalled:
        if (run.signal == SIGXCPU)
            return Outcome::Failure(path + ": reading took more than " + std::to_string(limits.cpuSeconds) +
                                    " s of processor time and was stopped");
        return Outcome::Failure(path + ": the reader crashed on this file (" + strsignal(run.signal) + ")");
    case ChildResult::End::Exited: break;
    }
    if (run.exitCode != 0) {
        const std::string line = LastLine(run.errors);
        return Outcome::Failure(
            line.empty() ? path + ": the reader failed (exit status " + std::to_string(run.exitCode) + ")" : line);
    }
    return DecodeForeignModel(run.output, path, out);
}

Outcome BringForeignModelIn(ForeignModel& model, const std::string& path, float scale, NamedFileScope imageScope)
{
    if (Outcome usable = CheckScale(scale, path); !usable) return usable;
    ToEditorSpace(model, scale);
    KeepImagesInModelFolder(model, path, imageScope);
    return Outcome();
}

Outcome ReadForeignModelFile(const std::string& path, float scale, ForeignModel& out, NamedFileScope imageScope)
{
    out = {};
    if (Outcome usable = CheckScale(scale, path); !usable) return usable;
    ForeignModel model;
    if (Outcome read = ReadForeignModelInChild(path, model); !read) return read;
    if (Outcome brought = BringForeignModelIn(model, path, scale, imageScope); !brought) return brought;
    out = std::move(model);
    return Outcome();
}

}  // namespace m3d
