#pragma once

#include "foreign/ForeignModel.h"

#include <string>

namespace m3d {

// A downloaded model may name any image on the disk ("../../../home/...",
// an absolute path, a link that leads out). Unless the user allowed it
// (scope Anywhere), every texture path of model whose file lies outside the
// folder of the model file at path, symbolic links followed, is cleared and
// named in model.dropped; the images found later are read only from that
// folder (model.imageScope, which this sets to scope).
void KeepImagesInModelFolder(ForeignModel& model, const std::string& path, NamedFileScope scope);

}  // namespace m3d
