// make_crafted_files FOLDER [SHAPE...]: writes each crafted shape at full size
// into FOLDER and prints one tab-separated line per shape:
// name, command, path, bytes, output (the file a writing command is to write,
// "-" for none), description.

#include "crafted/CraftedShape.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace m3d {

}  // namespace m3d

int main(int argc, char** argv)
{
    using namespace m3d;
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_crafted_files FOLDER [SHAPE...]\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder);
    try {
        for (const CraftedShape& shape : CraftedShapes()) {
            bool wanted = argc == 2;
            for (int i = 2; i < argc; ++i) wanted = wanted || shape.name == argv[i];
            if (!wanted) continue;
            const std::string shapeFolder = folder + "/" + shape.name;
            std::filesystem::create_directories(shapeFolder);
            const std::string path = shape.write(shapeFolder, shape.fullSize);
            uintmax_t bytes = 0;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(shapeFolder))
                if (entry.is_regular_file()) bytes += entry.file_size();
            const std::string output = shape.output.empty() ? "-" : shapeFolder + "/" + shape.output;
            std::printf("%s\t%s\t%s\t%ju\t%s\t%s\n", shape.name.c_str(), shape.command.c_str(), path.c_str(), bytes,
                        output.c_str(), shape.description.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_crafted_files: %s\n", e.what());
        return 1;
    }
    return 0;
}
