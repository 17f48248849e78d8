#pragma once

#include "editor/RecoveryFolder.h"

#include <array>
#include <string>

namespace m3d {

// The columns of a recoverable snapshot in the recovery list: the project's
// name, its file ("" while untitled), when the snapshot was taken (local
// time, "YYYY-MM-DD HH:MM:SS"), and its numbers of Parts and Motions.
std::array<std::string, 5> RecoveryRowTexts(const RecoverableSnapshot& snapshot);

}  // namespace m3d
