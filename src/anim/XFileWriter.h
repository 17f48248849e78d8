#pragma once

#include "anim/XFileContent.h"

#include <string>

namespace m3d {

class FileSink;

// Ticks per second of the animation keys; readers assume it when the file
// does not say, and the file says it anyway.
constexpr int kXFileTicksPerSecond = 4800;

// The whole DirectX text file ("xof 0303txt 0032") for content: the header
// with its templates and tick rate, the frame "root" holding the Part frames,
// then the animation sets in the order given. CR LF line ends.
std::string WriteXFileText(const XFileContent& content);
// The same text streamed into sink, holding only a bounded piece of it in
// memory; false when the sink failed.
bool WriteXFile(const XFileContent& content, FileSink& sink);

}  // namespace m3d
