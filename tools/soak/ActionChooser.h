#pragma once

#include "SoakAction.h"
#include "SoakFolder.h"
#include "SoakRandom.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QFileDialog;
class QLineEdit;
class QMenu;
class QMessageBox;

namespace m3d::soak {

class SoakWindow;

// Chooses each step of a run at random from what the screen shows: a step
// for the open popup, else for the active modal dialog, else for the main
// window (the views, panels, toolbars, keys and menus), and reopens the
// window after the user closed it. Answers lean to the safe side: Cancel,
// No and Escape most of the time; file dialogs get paths inside the soak's
// folder only.
class ActionChooser {
public:
    ActionChooser(uint64_t seed, const SoakFolder& folder);

    // The next step of the run.
    SoakAction Next(SoakWindow& window);
    // The next step of the run's end: closes popups and dialogs (answering
    // questions so that nothing is saved), then the main window; "end" once
    // the window is closed.
    SoakAction Closing(SoakWindow& window);

private:
    SoakAction ForPopup(QWidget* popup, QWidget* main);
    SoakAction ForMenu(QMenu* menu);
    SoakAction ForModal(QWidget* modal, QWidget* main);
    SoakAction ForFileDialog(QFileDialog* files);
    SoakAction ForMessageBox(QMessageBox* box, QWidget* main);
    SoakAction ForDialog(QWidget* dialog, QWidget* main);
    SoakAction ForMainWindow(SoakWindow& window);
    SoakAction Reopen();

    SoakAction Mouse(QWidget* target, QWidget* main, bool onTimeline, SoakWindow& window);
    SoakAction Click(QWidget* target, QWidget* main, QPoint at, const char* button = "L");
    SoakAction Type(QLineEdit* field, QWidget* main);
    SoakAction Key(QWidget* target, QWidget* main, const QString& sequence, bool focusFirst = false);
    SoakAction TreeStep(SoakWindow& window);
    SoakAction ToolbarPicture(QWidget* picture, QWidget* main);
    SoakAction MenuBar(QWidget* main);
    SoakAction UndoOrRedo(SoakWindow& window);
    SoakAction AnyKey(SoakWindow& window);
    SoakAction Splitter(SoakWindow& window);
    SoakAction DropFiles();

    std::string Modifiers();
    std::string FieldText();
    // The least used of items is the likeliest (uses counts per text).
    size_t LeastUsed(const std::vector<QString>& items);

    SoakRandom random;
    const SoakFolder& folder;
    std::vector<QString> shortcuts;  // the registry's keys, in portable text
    std::map<QString, int> uses;     // menu titles and items chosen so far
    QPointer<QWidget> lastModal;     // the modal dialog of the last step
    int stepsOnModal = 0;            // steps spent on it so far
};

}  // namespace m3d::soak
