#pragma once

#include "meshlib/LoadedModel.h"

namespace m3d {

// The material a reader gives faces their file leaves without one: light
// grey, opaque, no texture.
ModelMaterial DefaultForeignMaterial();

}  // namespace m3d
