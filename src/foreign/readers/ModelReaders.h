#pragma once

#include "foreign/ForeignModel.h"
#include "io/Outcome.h"

#include <string>

namespace m3d {

// The readers of other programs' formats. Each reads the file at path (UTF-8)
// and the files it names (a glTF's buffers and images, an OBJ's .mtl, looked
// up beside the file) into out, in the space ForeignModel.h describes, and
// checks everything it takes from the file: counts against the bytes there
// are, indices against what they index, floats for being finite. On failure
// out is left empty and the message is "<path>: <reason>" (one line).
//
// They run in a child process of their own (ForeignReaderProcess.h): a fault
// in a library under them costs the child, never the editor.

// glTF 2.0, .gltf (with its .bin files and images, or data URIs) and .glb.
Outcome ReadGltfModel(const std::string& path, ForeignModel& out);

// Wavefront .obj with the .mtl files it names; each object or group is a
// top-level node.
Outcome ReadObjModel(const std::string& path, ForeignModel& out);

// Everything else ForeignFormats.h lists, through assimp.
Outcome ReadAssimpModel(const std::string& path, ForeignModel& out);

// The reader ForeignReaderOf(path) names; a failure for a name no reader
// takes, or for a model of more than kMaxModelNodes nodes.
Outcome ReadForeignModel(const std::string& path, ForeignModel& out);

}  // namespace m3d
