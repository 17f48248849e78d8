// Placeholder until the format readers land; replaced by GltfReader.cpp,
// ObjReader.cpp and AssimpReader.cpp.
#include "foreign/readers/ModelReaders.h"

namespace m3d {

Outcome ReadGltfModel(const std::string& path, ForeignModel&) { return Outcome::Failure(path + ": no glTF reader"); }

}  // namespace m3d
