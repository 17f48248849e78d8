#pragma once

#include <QDialog>

namespace m3d {

// "バージョン情報": the program's name and version inside a sunken black
// frame, a notice line and the address of the program's web page.
class VersionDialog : public QDialog {
    Q_OBJECT
public:
    explicit VersionDialog(QWidget* parent);
};

}  // namespace m3d
