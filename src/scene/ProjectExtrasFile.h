#pragma once

#include "io/Outcome.h"
#include "scene/ProjectData.h"

#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// What the project file cannot hold is kept in one small file of ours beside
// it: NAME.m3d.json for NAME.anm (a JSON text, docs/project-format.md): the
// interpolation of every key that is not linear, the joint limit of every
// Part that has one, the length unit when it is known and the names of the
// Motions that loop. The file names
// the project file's size and CRC-32, so a file left from an earlier save, or
// beside a project another program rewrote, is known for what it is.

// The side file of the project file at projectPath: its extension (".anm",
// any letter case) replaced, or the whole name followed, by ".m3d.json".
std::string ProjectExtrasPath(const std::string& projectPath);

// The side file for a project whose file holds projectBytes, or "" when
// every key is linear, every Part free, no Motion a loop and the unit unknown (nothing to
// write: such a project has no side file). Parts are named by index and
// name, Motions by name, keys by frame.
std::string BuildProjectExtras(const std::vector<ProjectPartRecord>& parts, const std::vector<Motion>& motions,
                               double metresPerUnit, std::string_view projectBytes);

// Gives the keys of data's Motions (read from a project file holding
// projectBytes) the interpolations the side file text names and their loop
// switches, its Part records their joint limits and data its length unit; path names the side
// file in messages. Never changes a key's frame or matrix, nor a record's
// name or links. A text that is no side file of this version, or one written
// for other project bytes, changes nothing; a Motion, Part or key it names
// that the project does not have, a limit that is no valid one, or a unit
// that is no known one (IsKnownLengthUnit), is skipped (its entry alone).
// Either way the failure lists what was refused and why, one line each; what
// matched is applied all the same.
Outcome ApplyProjectExtras(std::string_view text, const std::string& path, std::string_view projectBytes,
                           ProjectData& data);

}  // namespace m3d
