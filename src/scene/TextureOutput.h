#pragma once

#include "io/Outcome.h"
#include "meshlib/TextureWriter.h"
#include "records/MeshRecords.h"

#include <string>
#include <vector>

namespace m3d {

class FileSetWriter;
class Scene;
class TaskProgress;

// A texture of the mesh manager to be written beside a project or an export.
struct TextureOutput {
    std::string path;
    const _MESHBASE_TEXTURE* texture = nullptr;  // one with an image
    ImageFormat format = ImageFormat::Png;
};

// Lower-cases every texture name of the mesh manager (it keeps the
// lower-case name) and plans the textures with an image that have no file of
// that name in directory yet, in the format the name says (".bmp", ".dds",
// ".jpg", ".png", ".ppm", ".tga", the first found deciding). Names that
// would lead out of the folder or name no format are left out.
std::vector<TextureOutput> PlanMissingTextures(Scene& scene, const std::string& directory);

// Encodes the planned textures into set, each put in place only where still
// no file is (FileSetOptions::keepExisting), reporting rows encoded of all
// of them to progress. Stops at the first that cannot be written or
// encoded, with a failure naming it (a Cancellation when progress asked to
// stop).
Outcome StageTextures(const std::vector<TextureOutput>& plan, FileSetWriter& set, TaskProgress* progress);

// The textures the Parts' meshes name, each once, in the order of the list.
std::vector<const _MESHBASE_TEXTURE*> PartTextures(Scene& scene);
// Those of them that have no image, with their problems.
std::vector<const _MESHBASE_TEXTURE*> PartTextureProblems(Scene& scene);

// One line a texture: its problem as loading said it (naming the file or the name).
std::vector<std::string> TextureProblemLines(const std::vector<const _MESHBASE_TEXTURE*>& textures);

// The warning after a load: "次のテクスチャは使えません:" and the problems
// (the first few, then how many more); "" when there are none.
std::string TextureProblemWarning(const std::vector<std::string>& problems);

}  // namespace m3d
