#pragma once

#include "io/Outcome.h"
#include "meshlib/MqoDocument.h"

#include <string>
#include <string_view>

namespace m3d {

// Reads the chunks of a .mqo file into doc: the header, the code page, the
// materials and the visible objects (vertices in the editor's space, faces
// with their corner lists). Unknown chunks are skipped by nesting, binary runs
// by their size. Fails with the message "fileName:line: reason" for
// malformed, truncated, compressed or trial-version files and for numbers that
// are not finite or out of range; doc is then unspecified.
Outcome ParseMqoDocument(std::string_view bytes, const std::string& fileName, MqoDocument& doc);

}  // namespace m3d
