// Shapes that attack the geometry passes run on every loaded model: strips,
// triangulation, welding and normals.

#include "crafted/CraftedShape.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace m3d {

namespace {

// A one-object .mqo with the given vertex and face blocks; `header` goes
// before the vertex block (shading, facet angle).
std::string MqoDocument(const std::string& vertices, size_t vertexCount, const std::string& faces, size_t faceCount,
                        const std::string& header = "")
{
    return "Metasequoia Document\nFormat Text Ver 1.0\n\nObject \"obj1\" {\n" + header + "\tvertex " +
           std::to_string(vertexCount) + " {\n" + vertices + "\t}\n\tface " + std::to_string(faceCount) + " {\n" +
           faces + "\t}\n}\nEof\n";
}

void AppendFormatted(std::string& out, const char* format, auto... values)
{
    char line[128];
    const int n = std::snprintf(line, sizeof line, format, values...);
    out.append(line, static_cast<size_t>(n));
}

// `count` corners spaced evenly round a circle in the XY plane.
std::string CircleVertices(size_t count)
{
    std::string vertices;
    for (size_t i = 0; i < count; ++i) {
        const double angle = 2 * 3.14159265358979 * double(i) / double(count);
        AppendFormatted(vertices, "\t\t%.6f %.6f 0\n", 100 * std::cos(angle), 100 * std::sin(angle));
    }
    return vertices;
}

// `copies` copies of one triangle: every triangle touches every other one.
std::string OneTriangleCopies(size_t copies)
{
    std::string faces;
    for (size_t i = 0; i < copies; ++i) faces += "\t\t3 V(0 1 2)\n";
    return MqoDocument("\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n", 3, faces, copies);
}

// One face of `corners` corners that walks round the `ring` corners of a small
// convex polygon again and again: once cut, thousands of triangles meet at each
// of its few vertices.
std::string FaceRoundRing(size_t corners, size_t ring)
{
    std::string face = "\t\t" + std::to_string(corners) + " V(";
    for (size_t i = 0; i < corners; ++i) {
        face += std::to_string(i % ring);
        face += i + 1 < corners ? ' ' : ')';
    }
    face += "\n";
    return MqoDocument(CircleVertices(ring), ring, face, 1);
}

// One convex face of `corners` distinct corners round a circle.
std::string ConvexPolygon(size_t corners)
{
    std::string face = "\t\t" + std::to_string(corners) + " V(";
    for (size_t i = 0; i < corners; ++i) {
        face += std::to_string(i);
        face += i + 1 < corners ? ' ' : ')';
    }
    face += "\n";
    return MqoDocument(CircleVertices(corners), corners, face, 1);
}

// `polygons` faces of 1,024 corners each, every corner a random pick from a
// pool of random points in one plane: outlines that cross themselves
// everywhere and leave ear clipping almost no ears.
std::string RandomPolygons(size_t polygons)
{
    constexpr size_t kPool = 4096, kCorners = 1024;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-100, 100);
    std::string vertices;
    for (size_t i = 0; i < kPool; ++i)
        AppendFormatted(vertices, "\t\t%.4f %.4f 0\n", coordinate(random), coordinate(random));
    std::uniform_int_distribution<size_t> pick(0, kPool - 1);
    std::string faces;
    for (size_t f = 0; f < polygons; ++f) {
        faces += "\t\t" + std::to_string(kCorners) + " V(";
        for (size_t i = 0; i < kCorners; ++i) {
            faces += std::to_string(pick(random));
            faces += i + 1 < kCorners ? ' ' : ')';
        }
        faces += "\n";
    }
    return MqoDocument(vertices, kPool, faces, polygons);
}

// `triangles` triangles over 3 x `triangles` vertices that all lie at one
// position, every corner with its own texture coordinate: nothing welds, and
// every vertex lands on the same position key.
std::string WeldOnePosition(size_t triangles)
{
    std::string vertices;
    for (size_t i = 0; i < 3 * triangles; ++i) vertices += "\t\t1.5 2.5 3.5\n";
    std::string faces;
    for (size_t t = 0; t < triangles; ++t) {
        const double u = double(t) / double(triangles);
        AppendFormatted(faces, "\t\t3 V(%zu %zu %zu) UV(%.7f 0.25 %.7f 0.5 %.7f 0.75)\n", 3 * t, 3 * t + 1, 3 * t + 2,
                        u, u + 1e-6, u + 2e-6);
    }
    return MqoDocument(vertices, 3 * triangles, faces, triangles);
}

// `triangles` random triangles over a few hundred random points of a smooth
// object: every vertex is shared by about a thousand faces of different
// normals, just under the limit where smoothing gives up.
std::string SmoothCrowdedVertices(size_t triangles)
{
    const size_t pool = std::max<size_t>(3, triangles * 3 / 1000);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-100, 100);
    std::string vertices;
    for (size_t i = 0; i < pool; ++i)
        AppendFormatted(vertices, "\t\t%.4f %.4f %.4f\n", coordinate(random), coordinate(random), coordinate(random));
    std::uniform_int_distribution<size_t> pick(0, pool - 1);
    std::string faces;
    for (size_t t = 0; t < triangles; ++t) {
        const size_t a = pick(random);
        size_t b = pick(random), c = pick(random);
        while (b == a) b = pick(random);
        while (c == a || c == b) c = pick(random);
        AppendFormatted(faces, "\t\t3 V(%zu %zu %zu)\n", a, b, c);
    }
    return MqoDocument(vertices, pool, faces, triangles, "\tshading 1\n\tfacet 180\n");
}

CraftedShape Shape(std::string name, std::string description, size_t fullSize, std::string (*make)(size_t))
{
    return {name, std::move(description), "mesh-info", fullSize, [name, make](const std::string& folder, size_t size) {
                const std::string path = folder + "/" + name + ".mqo";
                WriteCraftedFile(path, make(size));
                return path;
            }};
}

}  // namespace

void AddMeshGeometryShapes(std::vector<CraftedShape>& shapes)
{
    shapes.push_back(
        Shape("triangle-copies", "copies of one triangle, all sharing three corners", 40000, OneTriangleCopies));
    shapes.push_back(Shape("huge-fan-face", "one face whose corners walk round a nine-corner polygon again and again",
                           80000, [](size_t size) { return FaceRoundRing(size, 9); }));
    shapes.push_back(Shape("face-round-one-triangle", "one face whose corners walk round one triangle", 1000000,
                           [](size_t size) { return FaceRoundRing(size, 3); }));
    shapes.push_back(Shape("convex-polygon", "one convex face of that many corners", 100000, ConvexPolygon));
    shapes.push_back(Shape("random-polygons", "faces of 1,024 random corners each, crossing themselves everywhere", 180,
                           RandomPolygons));
    shapes.push_back(Shape("weld-one-position", "triangles whose vertices all lie at one position, UVs all different",
                           100000, WeldOnePosition));
    shapes.push_back(Shape("smooth-crowded-vertices",
                           "random triangles over few points of a smooth object, a thousand faces at each vertex",
                           200000, SmoothCrowdedVertices));
}

}  // namespace m3d
