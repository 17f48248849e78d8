#pragma once

#include "io/CommitRecovery.h"

#include <vector>

namespace m3d {

class UserPrompt;

// Tells the user what was done about interrupted saves: one note each,
// through UserPrompt::ShowNote under "中断された保存", before the command
// reports its own result.
void ShowRecoveryNotes(const std::vector<CommitRecoveryNote>& notes, UserPrompt& prompt);

}  // namespace m3d
