#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <string>

namespace m3d {

// What a dialog said that stayed open after its answer, or that came instead
// of the one expected; such a dialog is closed so that the test ends, and the
// test checks this stays empty.
inline QString unexpectedDialog;

// Closes dialog (when still open) and records what it said.
inline void CloseUnexpected(QDialog* dialog)
{
    auto* box = qobject_cast<QMessageBox*>(dialog);
    unexpectedDialog = dialog->windowTitle() + ": " + (box ? box->text() : QString());
    dialog->reject();
}

// Answers the next modal dialog of kind Dialog from inside its own event
// loop. It watches with a timer instead of waiting in place, so several
// answers can be queued for dialogs that open one after another or inside
// each other. The answered dialog must be closed a second later; when none
// of the kind comes within five seconds, whatever dialog is open is closed.
template <class Dialog = QDialog, class Answer>
void AnswerNextDialog(Answer answer)
{
    auto* watch = new QTimer(qApp);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(watch, &QTimer::timeout, [watch, ticks, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (dialog == nullptr || !dialog->isVisible()) {
            if (++*ticks < 500) return;
            watch->deleteLater();
            if (auto* other = qobject_cast<QDialog*>(modal))
                CloseUnexpected(other);
            else
                unexpectedDialog = QStringLiteral("no dialog came");
            return;
        }
        watch->stop();
        watch->deleteLater();
        answer(dialog);
        QTimer::singleShot(1000, [answered = QPointer<QDialog>(dialog)] {
            if (answered && answered->isVisible()) CloseUnexpected(answered);
        });
    });
    watch->start(10);
}

// Answers the next message box with button; when said is given, it receives
// "caption: text" of the box (it must outlive the answer).
inline void AnswerNextMessageBox(QMessageBox::StandardButton button, QString* said = nullptr)
{
    AnswerNextDialog<QMessageBox>([button, said](QMessageBox* box) {
        if (said != nullptr) *said = box->windowTitle() + ": " + box->text();
        QAbstractButton* answer = box->button(button);
        if (answer != nullptr) answer->click();
    });
}

// Types path into a file dialog's name field and accepts the dialog. Typed,
// because selectFile leaves a focused name field alone and selects an existing
// file only once the dialog has listed its folder, which may take long.
inline void AcceptTypedFileName(QFileDialog* files, const std::string& path)
{
    auto* name = files->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(name != nullptr);
    name->setText(QString::fromStdString(path));
    static_cast<QDialog*>(files)->accept();
}

}  // namespace m3d
