#pragma once

#include "editor/history/DocumentChange.h"

#include <string>

namespace m3d {

// A Part renamed: its baseName (which names its files) and displayName
// before and after. Undo and redo exchange them with the Part's.
class PartNameChange : public DocumentChange {
public:
    // Part part was just renamed; these are the names it had.
    PartNameChange(int part, std::string baseName, std::string displayName)
        : part(part), baseName(std::move(baseName)), displayName(std::move(displayName))
    {
    }

    void Undo(EditorSession& session) override { Exchange(session); }
    void Redo(EditorSession& session) override { Exchange(session); }
    size_t Bytes() const override { return sizeof(*this) + baseName.size() + displayName.size(); }
    // A rename always changes the baseName the project file records.
    SavedDataEffect Effect() const override { return {SavedData::PartRecords, SavedData::PartRecords}; }
    void ForgetDigests(MotionDigests&) const override {}

private:
    void Exchange(EditorSession& session);

    int part;
    std::string baseName, displayName;
};

}  // namespace m3d
