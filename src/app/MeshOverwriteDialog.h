#pragma once

#include <QDialog>

#include <string>

class QLabel;

namespace m3d {

// "meshファイル出力" (template 226): whether a save may replace an existing
// .mesh file. Its question (control 2178) wraps after any '/' of the path;
// the dialog grows downwards to hold it. The buttons end it with the
// MeshOverwriteAnswer values: "はい" 0, "すべてはい" 1, "いいえ" 2,
// "キャンセル" 3 (also Escape and the window's close button: backing out of
// the question writes nothing, as "キャンセル" does).
class MeshOverwriteDialog : public QDialog {
    Q_OBJECT
public:
    MeshOverwriteDialog(const std::string& question, QWidget* parent);
    void reject() override;

private:
    QLabel* question;
};

}  // namespace m3d
