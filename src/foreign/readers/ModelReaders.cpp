#include "foreign/readers/ModelReaders.h"

#include "foreign/ForeignFormats.h"

namespace m3d {

Outcome ReadForeignModel(const std::string& path, ForeignModel& out)
{
    out = {};
    const std::optional<ForeignReader> reader = ForeignReaderOf(path);
    if (!reader) return Outcome::Failure(path + ": not a model format that can be read");
    switch (*reader) {
    case ForeignReader::Gltf: return ReadGltfModel(path, out);
    case ForeignReader::Obj: return ReadObjModel(path, out);
    case ForeignReader::Assimp: return ReadAssimpModel(path, out);
    }
    return Outcome::Failure(path + ": not a model format that can be read");
}

}  // namespace m3d
