#pragma once

#include "foreign/ForeignModel.h"
#include "io/Outcome.h"

#include <cstdint>
#include <string>
#include <vector>

struct aiScene;

namespace m3d {

// The scene's materials as the editor's, index for index. A texture the file
// carries inside itself is appended to model.images (once, however many
// materials use it) and named by images; what a material loses goes to
// model.dropped.
struct AssimpMaterials {
    std::vector<ModelMaterial> materials;
    std::vector<int32_t> images;  // per material: index into model.images, or -1
};

// Fails, naming path, on a missing material or texture record or a number
// that is not finite.
Outcome ReadAssimpMaterials(const aiScene& scene, const std::string& path, ForeignModel& model, AssimpMaterials& out);

}  // namespace m3d
