#include "app/TaskProgressDialog.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QProgressDialog>

namespace m3d {

namespace {

// Work shorter than this shows no dialog.
constexpr qint64 kShowAfterMs = 500;
// Between two values the dialog takes (each lets the window paint).
constexpr qint64 kUpdateEveryMs = 50;
constexpr int kSteps = 1000;

}  // namespace

TaskProgressDialog::TaskProgressDialog(QWidget* parent, QString label) : parent(parent), label(std::move(label)) {}

TaskProgressDialog::~TaskProgressDialog() = default;

bool TaskProgressDialog::Report(uint64_t done, uint64_t total)
{
    if (cancelled) return false;
    if (!started.isValid()) started.start();
    if (!dialog && started.elapsed() < kShowAfterMs) return true;
    if (!dialog) {
        dialog = std::make_unique<QProgressDialog>(label, QCoreApplication::translate("TaskProgressDialog", "ｷｬﾝｾﾙ"), 0,
                                                   kSteps, parent);
        dialog->setWindowTitle(QCoreApplication::translate("TaskProgressDialog", "処理中"));
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setMinimumDuration(0);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        if (auto* bar = dialog->findChild<QProgressBar*>())
            bar->setAccessibleName(QCoreApplication::translate("TaskProgressDialog", "進み具合"));
    } else if (lastShown.isValid() && lastShown.elapsed() < kUpdateEveryMs && done < total) {
        return true;
    }
    lastShown.start();
    // Setting the value of a modal progress dialog lets the window paint and the Cancel button work.
    dialog->setValue(total == 0 ? kSteps : int(done * kSteps / total));
    cancelled = dialog->wasCanceled();
    return !cancelled;
}

void TaskProgressDialog::Restart()
{
    dialog.reset();
    started.invalidate();
    lastShown.invalidate();
    cancelled = false;
}

}  // namespace m3d
