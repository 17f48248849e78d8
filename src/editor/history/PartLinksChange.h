#pragma once

#include "editor/history/DocumentChange.h"

#include <vector>

namespace m3d {

class Scene;

// Partner links (symmetryIndex) of some Parts before and after a change.
class PartLinksChange : public DocumentChange {
public:
    struct Entry {
        int part = -1;
        int before = -1, after = -1;
    };
    explicit PartLinksChange(std::vector<Entry> entries) : entries(std::move(entries)) {}

    void Undo(EditorSession& session) override { Apply(session, false); }
    void Redo(EditorSession& session) override { Apply(session, true); }
    size_t Bytes() const override { return sizeof(*this) + entries.size() * sizeof(Entry); }
    SavedDataEffect Effect() const override { return {SavedData::Partners, SavedData::Partners}; }
    void ForgetDigests(MotionDigests&) const override {}

private:
    void Apply(EditorSession& session, bool after) const;

    std::vector<Entry> entries;
};

// Every Part's symmetryIndex, in Part order.
std::vector<int> PartnersOf(const Scene& scene);
// The entries for the Parts whose partner differs from before.
std::vector<PartLinksChange::Entry> PartnerDifferences(const std::vector<int>& before, const Scene& scene);

}  // namespace m3d
