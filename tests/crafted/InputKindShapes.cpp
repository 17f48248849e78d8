// Shapes that hand the readers something that is no regular file: a FIFO,
// which a plain open waits on for ever, and a device, which reads without end.

#include "crafted/CraftedShape.h"

#include <stdexcept>
#include <sys/stat.h>

namespace m3d {

namespace {

std::string MakeFifo(const std::string& path)
{
    if (mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error(path + ": cannot make a FIFO");
    return path;
}

CraftedShape Fifo(std::string name, std::string description, std::string command, std::string fileName)
{
    return {std::move(name), std::move(description), std::move(command), 1,
            [fileName](const std::string& folder, size_t) { return MakeFifo(folder + "/" + fileName); }};
}

CraftedShape Device(std::string name, std::string description, std::string command)
{
    return {std::move(name), std::move(description), std::move(command), 1,
            [](const std::string&, size_t) { return std::string("/dev/zero"); }};
}

}  // namespace

void AddInputKindShapes(std::vector<CraftedShape>& shapes)
{
    shapes.push_back(Fifo("project-fifo", "a FIFO named as the project", "info", "project.anm"));
    shapes.push_back(Fifo("model-fifo", "a FIFO named as the model", "mesh-info", "model.mqo"));
    shapes.push_back(Device("project-device", "/dev/zero named as the project", "info"));
    shapes.push_back(Device("model-device", "/dev/zero named as the model", "mesh-info"));
    shapes.push_back(
        {"texture-fifo", "a model whose texture is a FIFO", "mesh-info", 1, [](const std::string& folder, size_t) {
             MakeFifo(folder + "/skin.png");
             const std::string path = folder + "/model.mqo";
             WriteCraftedFile(path, TexturedTrianglesMqo({"skin.png"}));
             return path;
         }});
}

}  // namespace m3d
