#pragma once

#include "editor/history/DocumentChange.h"

#include <memory>
#include <string>
#include <vector>

namespace m3d {

// One entry of the document history: what one command (or one mouse drag)
// changed, under the name the Undo and Redo buttons show for it.
struct DocumentStep {
    std::string label;
    // In the order they were made.
    std::vector<std::unique_ptr<DocumentChange>> changes;

    size_t Bytes() const;
    // Its changes' effects together.
    SavedDataEffect Effect() const;
};

}  // namespace m3d
