#pragma once

#include "anim/ExportReport.h"

#include <string>
#include <vector>

namespace m3d {

class JsonWriter;
struct _MESHBASE_TEXTURE;

// The member "textureProblems": one string a texture that could not be used
// (its problem, naming the file or the name).
void WriteTextureProblems(JsonWriter& json, const std::vector<std::string>& problems);
// The member "imageSources": for every image written, its "file" ("" inside
// a .glb), "texture", "source" and "outsideFolders".
void WriteImageSources(JsonWriter& json, const std::vector<ExportImageSource>& images);

// Prints "warning: " and text as one line on stderr; nothing when text is "".
void PrintWarning(const std::string& text);

}  // namespace m3d
