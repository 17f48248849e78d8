#include "scene/ObjectFileLoading.h"

#include "foreign/ForeignFormats.h"
#include "foreign/ForeignReaderProcess.h"
#include "foreign/NodeWorlds.h"
#include "meshlib/CMesh.h"

namespace m3d {

Outcome LoadObjectFile(CMesh& mesh, const std::string& path)
{
    if (!ForeignReaderOf(path)) return mesh.LoadObject(path, 1.0f);
    // Emptied first, as LoadObject leaves a mesh it failed to load.
    (void)mesh.LoadModel(LoadedModel{}, path, 1.0f);
    ForeignModel model;
    if (Outcome read = ReadForeignModelFile(path, 1.0f, model); !read) return read;
    LoadedModel merged;
    if (Outcome built = MergeModelGeometry(model, path, merged); !built) return built;
    return mesh.LoadModel(merged, path, 1.0f);
}

}  // namespace m3d
