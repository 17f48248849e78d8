#pragma once

#include "editor/SymmetryEditor.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace m3d {

class EditorSession;

// The symmetry settings dialog ("左右対称の設定"): 16 rows of index, name,
// parent and an edit box for the partner's index, over the session's
// SymmetryEditor. Edits are committed when a box loses the focus, before a
// scroll and on OK; OK writes the links, Cancel drops them.
class SymmetryDialog : public QDialog {
    Q_OBJECT
public:
    SymmetryDialog(EditorSession& session, QWidget* parent);

    void accept() override;

private:
    // The visible boxes as integers; a text that is not one is shown as
    // refused (the box gets the focus) and false returned.
    bool ReadEdits(SymmetryEditor::EditValues& values);
    void CommitQuietly();
    void ScrollAction(int action);
    // Writes the rows and the scroll bar from the editor.
    void Fill();

    static constexpr int kRows = SymmetryEditor::kVisibleRows;
    SymmetryEditor editor;
    std::array<QLabel*, kRows> indexTexts{};
    std::array<QLabel*, kRows> nameTexts{};
    std::array<QLabel*, kRows> parentTexts{};
    std::array<QLineEdit*, kRows> edits{};
    QScrollBar* scrollBar;
};

}  // namespace m3d
