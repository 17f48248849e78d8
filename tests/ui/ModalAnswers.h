#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

// Answering the modal dialogs a command opens, from inside their own event loops.
namespace modalanswers {

// What a dialog nobody expected said; such a dialog is closed so the test ends.
inline QString unexpectedDialog;

// Answers the next modal dialog with answer(dialog) once it is open. A modal
// dialog still open a second after the answer is recorded and rejected.
template <class Answer>
void AnswerNextDialog(Answer answer)
{
    QTimer::singleShot(0, [answer] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        answer(QApplication::activeModalWidget());
        QTimer::singleShot(1000, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                auto* box = qobject_cast<QMessageBox*>(dialog);
                unexpectedDialog = dialog->windowTitle() + ": " + (box ? box->text() : QString());
                dialog->reject();
            }
        });
    });
}

}  // namespace modalanswers
