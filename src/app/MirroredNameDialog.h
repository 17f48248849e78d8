#pragma once

#include <QDialog>

class EditorSession;
class QLineEdit;

// The name-input dialog of add mirrored ("オブジェクト名入力"): offers the
// current Part's name + "(2)"; "決定" adds the mirrored Part under the typed
// name, or shows why the name cannot be used and stays open.
class MirroredNameDialog : public QDialog {
    Q_OBJECT
public:
    MirroredNameDialog(EditorSession& session, QWidget* parent);

    void accept() override;

private:
    EditorSession& session;
    QLineEdit* name;
};
