#pragma once

#include "editor/SymmetryEditor.h"

#include <QDialog>

#include <array>

class QLabel;
class QScrollBar;

namespace m3d {

class EditorSession;
class ElidingComboBox;

// The symmetry settings dialog ("左右対称の設定"): 16 rows of index, name,
// parent and a list of the Parts by name to choose the partner from, over
// the session's SymmetryEditor. A choice is committed at once; OK writes the
// links, Cancel drops them.
class SymmetryDialog : public QDialog {
    Q_OBJECT
public:
    SymmetryDialog(EditorSession& session, QWidget* parent);

    void accept() override;

private:
    // The partners the visible lists show (-1 for none and for hidden rows).
    SymmetryEditor::EditValues ChosenValues() const;
    void Commit();
    void ScrollAction(int action);
    // Writes the rows and the scroll bar from the editor.
    void Fill();

    static constexpr int kRows = SymmetryEditor::kVisibleRows;
    SymmetryEditor editor;
    std::array<QLabel*, kRows> indexTexts{};
    std::array<QLabel*, kRows> nameTexts{};
    std::array<QLabel*, kRows> parentTexts{};
    std::array<ElidingComboBox*, kRows> partners{};
    QScrollBar* scrollBar;
};

}  // namespace m3d
