#pragma once

#include "editor/RecoveryFolder.h"

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace m3d {

// What the user chose in the recovery dialog.
struct RecoveryChoice {
    std::string id;          // the snapshot
    std::string documentId;  // its document
    bool discard = false;    // "破棄" (asked once more): its document's snapshots go; else "復元"
};

// The recovery dialog: snapshots (newest first, the first chosen) with their
// project, file, time, Parts and Motions (RecoveryRowTexts); "復元",
// "破棄" and "後で" (Escape), which gives nothing.
std::optional<RecoveryChoice> AskRecovery(const std::vector<RecoverableSnapshot>& snapshots, QWidget* parent);

}  // namespace m3d
