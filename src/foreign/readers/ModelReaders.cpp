#include "foreign/readers/ModelReaders.h"

#include "foreign/ForeignFormats.h"

namespace m3d {

Outcome ReadForeignModel(const std::string& path, ForeignModel& out)
{
    out = {};
    const std::optional<ForeignReader> reader = ForeignReaderOf(path);
    if (!reader) return Outcome::Failure(path + ": not a model format that can be read");
    ForeignModel model;
    Outcome read;
    switch (*reader) {
    case ForeignReader::Gltf: read = ReadGltfModel(path, model); break;
    case ForeignReader::Obj: read = ReadObjModel(path, model); break;
    case ForeignReader::Assimp: read = ReadAssimpModel(path, model); break;
    }
    if (!read) return read;
    // The glTF reader refuses such a model before it builds it; the others here, before it is handed over.
    if (model.nodes.size() > kMaxModelNodes)
        return Outcome::Failure(path + ": " + TooManyNodesReason(model.nodes.size()));
    out = std::move(model);
    return Outcome();
}

}  // namespace m3d
