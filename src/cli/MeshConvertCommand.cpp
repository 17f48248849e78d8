// mesh-convert IN OUT.mesh [--mirror] [--scale S] [--overwrite]: writes a model file as a
// .mesh file, optionally scaled about its origin and mirrored across x = 0.

#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "meshlib/CMesh.h"
#include "scene/ObjectFileLoading.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "mesh-convert IN OUT.mesh [--mirror] [--scale S] [--overwrite]   (--overwrite: replace OUT.mesh when it is "
    "read-only)";

int Misuse(const char* why)
{
    std::fprintf(stderr, "mesh-convert: %s\nusage: marionettica3d-cli %s\n", why, kUsage);
    return 2;
}

int MeshConvert(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    bool mirror = false;
    float scale = 1.0f;
    bool overwrite = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--mirror") {
            mirror = true;
        } else if (args[i] == "--overwrite") {
            overwrite = true;
        } else if (args[i] == "--scale") {
            if (++i == args.size()) return Misuse("--scale needs a factor");
            char* end = nullptr;
            scale = std::strtof(args[i].c_str(), &end);
            if (end == args[i].c_str() || *end != '\0' || !std::isfinite(scale) || scale == 0.0f)
                return Misuse("the scale must be a finite non-zero number");
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2) return Misuse("give one input and one output file");
    if (RefuseReadOnlyOutput(paths[1], overwrite)) return 1;

    CMesh mesh;
    if (const Outcome loaded = LoadObjectFile(mesh, paths[0]); !loaded) {
        std::fprintf(stderr, "%s\n", loaded.Message().c_str());
        return 1;
    }
    if (scale != 1.0f) {
        mesh.SetScale(scale, scale, scale);
        mesh.ReleaseVB();
        mesh.SetVB();
    }
    if (const Outcome saved =
            mirror ? mesh.SaveMirrorMeshFile(paths[1], overwrite) : mesh.SaveMeshFile(paths[1], overwrite);
        !saved) {
        std::fprintf(stderr, "%s\n", saved.Message().c_str());
        return 1;
    }
    JsonWriter json;
    json.BeginObject();
    json.Key("output").String(paths[1]);
    json.Key("vertices").Int(mesh.GetVertexNum());
    json.Key("faces").Int(mesh.GetFaceNum());
    json.Key("meshes").Int(mesh.GetMeshNum());
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("mesh-convert", kUsage, MeshConvert);

}  // namespace

}  // namespace m3d
