#pragma once

#include "io/Outcome.h"
#include "scene/ProjectData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// The project file (.anm): a 32-byte header, the Part records, the Motion
// records with their keys; little-endian 32-bit integers and floats; names in
// Shift-JIS.

// The header text; the rest of the 32 bytes is zero. Readers ignore the header.
extern const char kProjectFileHeader[];  // "Marionettica3Dv1.00"
constexpr int kProjectHeaderBytes = 32;
// Size of a Motion's name field and of one stored key.
constexpr int kMotionNameFieldBytes = 20;
constexpr int kKeyRecordBytes = 68;
// Longest Part name in Shift-JIS bytes (names are read into 260-byte buffers).
constexpr int kMaxPartNameBytes = 259;
// Whether a Part name (UTF-8) can name the Part's files in the project's
// folder: no folder separator, no control character, no "..".
bool IsPlainPartName(std::string_view name);
// The range of Motion lengths the editor accepts.
constexpr int kMinMotionLength = 1;
constexpr int kMaxMotionLength = 9999;

// The number of Parts the start of a project file claims (the count after the
// header, unchecked), for a reader that bounds its work before it reads the
// rest; nullopt when bytes end before kProjectPartCountEnd.
constexpr size_t kProjectPartCountEnd = kProjectHeaderBytes + 4;
std::optional<int32_t> ClaimedPartCount(std::string_view bytes);

// Reads and checks a whole project file held in bytes. Nothing in the file is
// trusted: on any rule broken, the failure "FILE: byte OFFSET: reason"
// (fileName as given) and out unspecified. Keys stored out of frame order are
// put in order; everything else that breaks a rule of ProjectData is refused.
Outcome ParseProjectFile(std::string_view bytes, const std::string& fileName, ProjectData& out);

// Lays out a project file. Fails (naming the Part or Motion) when a name has
// no Shift-JIS form or is too long, when a Motion does not have one track per
// Part, or when a key holds a non-finite value.
Expected<std::string> BuildProjectFile(const std::vector<ProjectPartRecord>& parts, const std::vector<Motion>& motions);

}  // namespace m3d
