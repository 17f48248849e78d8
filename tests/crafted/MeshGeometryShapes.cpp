// Shapes that attack the geometry passes run on every loaded model: strips,
// triangulation, welding and normals.

#include "crafted/CraftedShape.h"

#include <string>

namespace {

// A one-object .mqo with the given vertex and face blocks.
std::string MqoDocument(const std::string& vertices, size_t vertexCount, const std::string& faces,
                        size_t faceCount)
{
    return "Metasequoia Document\nFormat Text Ver 1.0\n\nObject \"obj1\" {\n\tvertex " +
           std::to_string(vertexCount) + " {\n" + vertices + "\t}\n\tface " + std::to_string(faceCount) +
           " {\n" + faces + "\t}\n}\nEof\n";
}

// `copies` copies of one triangle: every triangle touches every other one.
std::string OneTriangleCopies(size_t copies)
{
    std::string faces;
    for (size_t i = 0; i < copies; ++i) faces += "\t\t3 V(0 1 2)\n";
    return MqoDocument("\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n", 3, faces, copies);
}

}  // namespace

void AddMeshGeometryShapes(std::vector<CraftedShape>& shapes)
{
    shapes.push_back({"triangle-copies", "copies of one triangle, all sharing three corners", "mesh-info", 40000,
                      [](const std::string& folder, size_t size) {
                          const std::string path = folder + "/triangle-copies.mqo";
                          WriteCraftedFile(path, OneTriangleCopies(size));
                          return path;
                      }});
}
