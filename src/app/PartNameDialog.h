#pragma once

#include <QDialog>

class QLineEdit;

namespace m3d {

class EditorSession;

// The name-input dialog of the Parts ("オブジェクト名入力"). For add mirrored
// it offers the current Part's name + "(2)" and "決定" adds the mirrored Part
// under the typed name; for rename it offers the current Part's name and
// "決定" renames the Part. A name that cannot be used is explained and the
// dialog stays open.
class PartNameDialog : public QDialog {
    Q_OBJECT
public:
    enum class Purpose { AddMirrored, Rename };

    PartNameDialog(EditorSession& session, Purpose purpose, QWidget* parent);

    void accept() override;

private:
    // Whether the typed name was used; otherwise says why.
    bool AddMirrored();
    bool Rename();

    EditorSession& session;
    const Purpose purpose;
    QLineEdit* name;
};

}  // namespace m3d
