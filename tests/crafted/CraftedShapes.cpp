#include "crafted/CraftedShape.h"

#include <fstream>
#include <stdexcept>

// Each group lives in its own file next to this one.
void AddMeshGeometryShapes(std::vector<CraftedShape>& shapes);
void AddReaderClaimShapes(std::vector<CraftedShape>& shapes);
void AddDeepChainShapes(std::vector<CraftedShape>& shapes);
void AddProjectShapes(std::vector<CraftedShape>& shapes);

std::vector<CraftedShape> CraftedShapes()
{
    std::vector<CraftedShape> shapes;
    AddMeshGeometryShapes(shapes);
    AddReaderClaimShapes(shapes);
    AddDeepChainShapes(shapes);
    AddProjectShapes(shapes);
    return shapes;
}

void WriteCraftedFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error(path + ": cannot write");
}
