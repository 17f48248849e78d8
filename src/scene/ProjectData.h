#pragma once

#include "scene/JointLimit.h"
#include "math/LengthUnit.h"
#include "scene/Motion.h"

#include <string>
#include <vector>

namespace m3d {

// One Part as a project file records it: the name its object file is found
// by, its parent and its partner; and as its side file records it, its joint
// limit.
struct ProjectPartRecord {
    // UTF-8; a plain file name without extension (no separators, no "..",
    // no control characters), at most 259 bytes in Shift-JIS.
    std::string baseName;
    // -1 (top level) or the index of an earlier record.
    int parentIndex = -1;
    // -1 or the index of any record.
    int symmetryIndex = -1;
    // Free unless the side file gives a limit (valid: IsValidJointLimit).
    JointLimit jointLimit = {};
};

// The content of a project file, independent of any Scene. A ProjectData that
// ParseProjectFile returns satisfies every rule stated on its fields.
struct ProjectData {
    std::vector<ProjectPartRecord> parts;
    // Names unique, non-empty, at most 16 Shift-JIS bytes; lengths 1 ... 9999;
    // one track per record, each with a frame-0 key first and strictly
    // ascending frames (keys past the length are kept); finite matrices.
    std::vector<Motion> motions;
    // What one unit of its lengths is in metres (LengthUnit.h), as its side
    // file says; kUnknownLengthUnit when it says nothing.
    double metresPerUnit = kUnknownLengthUnit;
};

}  // namespace m3d
