#include "crafted/CraftedShape.h"

#include "scene/ProjectFileFormat.h"

#include <fstream>
#include <stdexcept>

namespace m3d {

// Each group lives in its own file next to this one.
void AddMeshGeometryShapes(std::vector<CraftedShape>& shapes);
void AddReaderClaimShapes(std::vector<CraftedShape>& shapes);
void AddDeepChainShapes(std::vector<CraftedShape>& shapes);
void AddProjectShapes(std::vector<CraftedShape>& shapes);
void AddInputKindShapes(std::vector<CraftedShape>& shapes);
void AddTextureShapes(std::vector<CraftedShape>& shapes);
void AddExportTargetShapes(std::vector<CraftedShape>& shapes);
void AddCommitRecordShapes(std::vector<CraftedShape>& shapes);

std::vector<CraftedShape> CraftedShapes()
{
    std::vector<CraftedShape> shapes;
    AddMeshGeometryShapes(shapes);
    AddReaderClaimShapes(shapes);
    AddDeepChainShapes(shapes);
    AddProjectShapes(shapes);
    AddInputKindShapes(shapes);
    AddTextureShapes(shapes);
    AddExportTargetShapes(shapes);
    AddCommitRecordShapes(shapes);
    return shapes;
}

void WriteCraftedFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error(path + ": cannot write");
}

std::string WriteOnePartProject(const std::string& folder, const std::string& mqoText)
{
    WriteCraftedFile(folder + "/model.mqo", mqoText);
    Motion motion;
    motion.name = "crafted";
    motion.length = 60;
    motion.tracks.resize(1);
    motion.tracks[0].keys.push_back({0, Matrix4::Identity()});
    const std::string path = folder + "/model.anm";
    const Expected<std::string> bytes = BuildProjectFile({{"model", -1, -1}}, {motion});
    if (!bytes) throw std::runtime_error(path + ": " + bytes.Message());
    WriteCraftedFile(path, *bytes);
    return path;
}

std::string TexturedTrianglesMqo(const std::vector<std::string>& texturePaths)
{
    std::string text =
        "Metasequoia Document\nFormat Text Ver 1.0\n\nMaterial " + std::to_string(texturePaths.size()) + " {\n";
    for (size_t m = 0; m < texturePaths.size(); ++m)
        text += "\t\"m" + std::to_string(m) + "\" col(1 1 1 1) tex(\"" + texturePaths[m] + "\")\n";
    text += "}\nObject \"obj1\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tface " +
            std::to_string(texturePaths.size()) + " {\n";
    for (size_t m = 0; m < texturePaths.size(); ++m)
        text += "\t\t3 V(0 1 2) M(" + std::to_string(m) + ") UV(0 0 1 0 0 1)\n";
    return text + "\t}\n}\nEof\n";
}

}  // namespace m3d
