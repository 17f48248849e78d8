#pragma once

#include <string>

class EditorSession;
class QWidget;

// The Parts commands as the user runs them from the parts panel or the Parts
// menu: each asks what it needs with the program's dialogs (parent: the
// window they belong to), runs the session's command and shows what failed.

// The object-file dialog ("オブジェクトを追加"), then adds the chosen file.
void AddObjectFromDialog(EditorSession& session, QWidget* parent);
// The object-file dialog ("オブジェクトを入れ替え"), then swaps the current Part's file.
void SwapObjectFromDialog(EditorSession& session, QWidget* parent);
// The name-input dialog, which adds the mirrored Part when a name is accepted.
void AddMirroredPartFromDialog(EditorSession& session, QWidget* parent);
// The symmetry settings dialog.
void EditSymmetry(EditorSession& session, QWidget* parent);
// A file that could not be read or written: the message names it and says why.
void ShowFileError(QWidget* parent, const std::string& text);
