#pragma once

#include "io/Outcome.h"
#include "meshlib/LoadedModel.h"
#include "meshlib/MqoDocument.h"

#include <string>
#include <string_view>

namespace m3d {

// Reads a .mqo model (text format 1.0 to 1.2; binary vertex chunks included)
// into one indexed triangle list in the editor's space: Z is negated and the
// corner order kept, so the model's front faces -Z and (v1 - v0) x (v2 - v0)
// points outward.
//
// Every visible object is merged into the one model; hidden objects are left
// out and object transforms are not applied (the stored positions are already
// absolute). Mirror settings are expanded, polygons are triangulated (concave
// ones too), two-corner faces are dropped, normals follow each object's
// smoothing angle and vertices are shared wherever position, normal and
// texture coordinate all agree. Faces without a material, or naming one the
// file does not have, use a default material appended after the file's own.
// Names and texture paths are converted to UTF-8 (from Shift-JIS unless the
// file says utf8); texture paths are kept as written.
//
// Fails with a message naming the file, the line and the reason when the
// file is malformed or truncated, compressed, from an unregistered copy of the
// modeler, holds no visible face, has a face that keeps coming back to the
// same few vertices (MqoFaceVisits.h), or has more materials than a mesh can
// number (kMaxMqoMaterials, the default included). out is then empty.
Outcome ReadMqo(std::string_view bytes, const std::string& fileNameForMessages, LoadedModel& out);

// ReadMqo on the contents of the file at path.
Outcome ReadMqoFile(const std::string& path, LoadedModel& out);

}  // namespace m3d
