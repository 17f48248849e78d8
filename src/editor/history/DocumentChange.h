#pragma once

#include <cstddef>

class EditorSession;

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
    // Whether it changes what a project save writes; a pose alone does not.
    virtual bool ChangesSavedData() const { return true; }
};
