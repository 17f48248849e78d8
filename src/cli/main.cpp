#include "cli/CliCommand.h"
#include "editor/ProgramArguments.h"
#include "meshlib/CMeshBase.h"
#include "text/NumberText.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace m3d {

std::vector<CliCommandEntry>& CliCommands()
{
    static std::vector<CliCommandEntry> commands;
    return commands;
}

CliCommandRegistration::CliCommandRegistration(const char* name, const char* usage, CliHandler handler)
{
    CliCommands().push_back({name, usage, handler});
}

static void PrintUsage(FILE* out)
{
    std::fprintf(out,
                 "usage: marionettica3d-cli [--texture-memory MB] COMMAND ARGS...\n"
                 "       marionettica3d-cli --help | --version\n"
                 "--texture-memory: what decoded textures may take, 512 MB unless given\ncommands:\n");
    for (const CliCommandEntry& c : CliCommands()) std::fprintf(out, "  %s\n", c.usage);
}

}  // namespace m3d

int main(int argc, char** argv)
{
    using namespace m3d;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("marionettica3d-cli %s\n", ProgramVersion());
        return 0;
    }
    if (std::strcmp(argv[1], "--texture-memory") == 0) {
        int megabytes = 0;
        if (argc < 4 || !ParseInteger(argv[2], megabytes) || megabytes < 1) {
            std::fprintf(stderr, "--texture-memory: a number of megabytes (1 or more) and a command must follow\n");
            return 2;
        }
        CMeshBase::SetDefaultTextureBudget(CMeshBase::TextureBudgetOfMegabytes(megabytes));
        argc -= 2;
        argv += 2;
    }
    for (const CliCommandEntry& c : CliCommands()) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        // Every write is atomic, so running out of memory loses nothing
        // already on disk; it is reported instead of aborting.
        try {
            return c.handler(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "marionettica3d-cli %s: out of memory; nothing more was written\n", argv[1]);
            return 1;
        }
    }
    std::fprintf(stderr, "marionettica3d-cli: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
