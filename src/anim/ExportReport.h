#pragma once

#include <string>
#include <vector>

namespace m3d {

class Scene;
struct _MESHBASE_TEXTURE;

// Where an image an export wrote came from.
struct ExportImageSource {
    std::string file;     // the image's file beside the export; "" for one inside a .glb
    std::string texture;  // the texture's name in the mesh manager
    std::string source;   // the file its pixels were read from
    // Read from outside both the folder of the model that named it and the
    // project's folder: a model may name any file on the disk, and an export
    // may be passed on.
    bool outsideFolders = false;
};

// How an export reports texture, written to file ("" inside a .glb), from a
// scene whose project's folder is that of scene.projectPath (none when empty).
ExportImageSource ImageSourceOf(const Scene& scene, const _MESHBASE_TEXTURE& texture, const std::string& file);

// The warning shown after an export that was written: the textures it could
// not use (their problems) and the images taken from outside the model's and
// the project's folders, the first few of each, then how many more; "" when
// there is neither.
std::string ExportWarning(const std::vector<std::string>& textureProblems,
                          const std::vector<ExportImageSource>& images);

// What the window says after an export was written: where, then the warning
// (ExportWarning) when there is one.
std::string ExportDoneMessage(const std::string& path, const std::string& warning);

// Why an export cannot write its lengths times lengthScale (not finite, or
// not above 0), naming the value; "" when it can.
std::string LengthScaleRefusal(float lengthScale);

// Where an export's file dialog starts: the project's folder and its name
// with extension (".x", ".glb") once the project has a file; else
// rememberedDirectory and no name.
struct ExportDialogStart {
    std::string directory;
    std::string fileName;
};
ExportDialogStart ExportDialogStartOf(const Scene& scene, const std::string& rememberedDirectory,
                                      const std::string& extension);

}  // namespace m3d
