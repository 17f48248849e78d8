// mesh-info FILE: the counts, texture names and bounding box of a model file,
// and the textures it names that could not be used.

#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/TextureReport.h"
#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "scene/ObjectFileLoading.h"
#include "scene/TextureOutput.h"

#include <algorithm>
#include <cstdio>

namespace m3d {

namespace {

int MeshInfo(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: marionettica3d-cli mesh-info FILE\n");
        return 2;
    }
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    if (const Outcome loaded = LoadObjectFile(mesh, args[0]); !loaded) {
        std::fprintf(stderr, "%s\n", loaded.Message().c_str());
        return 1;
    }

    // A model without vertices reports a box of zeros.
    float low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    for (int i = 0; i < mesh.GetVertexNum(); ++i) {
        const _MESH_VERTEX* v = mesh.GetVertex(i);
        const float p[3] = {v->x, v->y, v->z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = i == 0 ? p[axis] : std::min(low[axis], p[axis]);
            high[axis] = i == 0 ? p[axis] : std::max(high[axis], p[axis]);
        }
    }

    JsonWriter json;
    json.BeginObject();
    json.Key("vertices").Int(mesh.GetVertexNum());
    json.Key("faces").Int(mesh.GetFaceNum());
    json.Key("meshes").Int(mesh.GetMeshNum());
    json.Key("materials").Int(mesh.GetMtrlNum());
    json.Key("textures").BeginArray();
    for (int k = 0; mesh.GetTexture(k) != nullptr; ++k) {
        const _MESHBASE_TEXTURE* texture = base.GetTexture(mesh.GetTexture(k)->index);
        json.String(texture != nullptr ? texture->name : std::string());
    }
    json.EndArray();
    json.Key("bbox").BeginObject();
    json.Key("min").Floats(low, 3);
    json.Key("max").Floats(high, 3);
    json.EndObject();
    const std::vector<std::string> problems = TextureProblemLines(base.TextureProblems());
    WriteTextureProblems(json, problems);
    json.EndObject();
    PrintWarning(TextureProblemWarning(problems));
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("mesh-info", "mesh-info FILE", MeshInfo);

}  // namespace

}  // namespace m3d
