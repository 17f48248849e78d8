// Placeholder until the format readers land; replaced by GltfReader.cpp,
// ObjReader.cpp and AssimpReader.cpp.
#include "foreign/readers/ModelReaders.h"

namespace m3d {

Outcome ReadObjModel(const std::string& path, ForeignModel&) { return Outcome::Failure(path + ": no OBJ reader"); }
Outcome ReadAssimpModel(const std::string& path, ForeignModel&) { return Outcome::Failure(path + ": no reader"); }

}  // namespace m3d
