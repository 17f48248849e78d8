#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

// What a dialog nobody answered said; such a dialog is closed a second after
// it opened so that the test ends, and the test checks this stays empty.
inline QString unexpectedDialog;

// Answers the next modal dialog from inside its own event loop.
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
