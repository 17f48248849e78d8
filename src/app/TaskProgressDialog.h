#pragma once

#include "io/TaskProgress.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace m3d {

// The progress of long work of the core (encoding and decoding textures)
// in a window-modal dialog with a Cancel button. The dialog appears only
// once the work has lasted half a second, and the window keeps painting
// while it shows; a Cancel is remembered until Restart.
class TaskProgressDialog : public TaskProgress {
public:
    TaskProgressDialog(QWidget* parent, QString label);
    ~TaskProgressDialog() override;
    TaskProgressDialog(const TaskProgressDialog&) = delete;
    TaskProgressDialog& operator=(const TaskProgressDialog&) = delete;

    bool Report(uint64_t done, uint64_t total) override;
    // Closes the dialog and forgets a Cancel: the next report begins new work.
    void Restart();

private:
    QWidget* parent;
    QString label;
    std::unique_ptr<QProgressDialog> dialog;
    QElapsedTimer started;    // since the first report of the work
    QElapsedTimer lastShown;  // since the dialog last took a value
    bool cancelled = false;
};

}  // namespace m3d
