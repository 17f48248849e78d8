#pragma once

#include "editor/FlagSet.h"
#include "editor/history/MotionDigests.h"

#include <cstddef>

namespace m3d {

class EditorSession;

// The parts of what a project save writes, as a set of bits.
enum class SavedData : unsigned {
    None = 0,
    PartRecords = 1,  // the Parts, their names and parents
    Partners = 2,
    Geometry = 4,  // the .mesh files
    Motions = 8,   // the Motions, their names, lengths and keys
    JointLimits = 16,
    LengthUnit = 32,  // what one unit is in metres
};
template <>
struct IsFlagSet<SavedData> : std::true_type {
};

// Which parts of the saved data a change may rewrite (touched), and which of
// those it surely leaves different from before (changed, within touched).
struct SavedDataEffect {
    SavedData touched = SavedData::None;
    SavedData changed = SavedData::None;
};

// One change of the document, recorded after it was made, that can be taken
// back and made again: Undo puts the model back as it was before the change,
// Redo as it was after it. The changes of one step are undone last first, so
// each finds the model as it left it.
class DocumentChange {
public:
    virtual ~DocumentChange() = default;
    virtual void Undo(EditorSession& session) = 0;
    virtual void Redo(EditorSession& session) = 0;
    // Bytes the change keeps (for the history's memory bound).
    virtual size_t Bytes() const = 0;
    // What it does to the saved data; a pose alone touches none of it.
    virtual SavedDataEffect Effect() const = 0;
    // After it was made, undone or redone: forgets the digests of the
    // Motions it rewrote (by default all of them).
    virtual void ForgetDigests(MotionDigests& digests) const { digests.ForgetAll(); }
};

}  // namespace m3d
