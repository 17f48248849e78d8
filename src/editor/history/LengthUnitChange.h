#pragma once

#include "editor/history/DocumentChange.h"

namespace m3d {

// The project given another length unit. Undo and redo exchange the unit
// kept here with the scene's.
class LengthUnitChange : public DocumentChange {
public:
    // The scene was just given a new unit; metresPerUnit is the one it had.
    explicit LengthUnitChange(double metresPerUnit) : metresPerUnit(metresPerUnit) {}

    void Undo(EditorSession& session) override { Exchange(session); }
    void Redo(EditorSession& session) override { Exchange(session); }
    size_t Bytes() const override { return sizeof(*this); }
    // Made only for a unit that differs, which the side file then writes differently.
    SavedDataEffect Effect() const override { return {SavedData::LengthUnit, SavedData::LengthUnit}; }
    void ForgetDigests(MotionDigests&) const override {}

private:
    void Exchange(EditorSession& session);

    double metresPerUnit;
};

}  // namespace m3d
