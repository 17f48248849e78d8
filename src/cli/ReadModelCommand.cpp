// read-model FILE: reads a model of another program's format and writes its
// records (foreign/ForeignRecords.h) on stdout. The editor and the other
// commands run it as a child process, so that a reader's fault stays here.

#include "cli/CliCommand.h"
#include "foreign/ForeignRecords.h"
#include "foreign/readers/ModelReaders.h"

#include <cstdio>

namespace m3d {

namespace {

int ReadModel(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: marionettica3d-cli read-model FILE\n");
        return 2;
    }
    ForeignModel model;
    if (const Outcome read = ReadForeignModel(args[0], model); !read) {
        std::fprintf(stderr, "%s\n", read.Message().c_str());
        return 1;
    }
    const std::string bytes = EncodeForeignModel(model);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "%s: the records could not be handed over\n", args[0].c_str());
        return 1;
    }
    return 0;
}

const CliCommandRegistration kRegistration("read-model",
                                           "read-model FILE   (the records of a model file, for the editor)",
                                           ReadModel);

}  // namespace

}  // namespace m3d
