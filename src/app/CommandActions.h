#pragma once

#include "editor/EditorCommand.h"
#include "editor/EditorEvents.h"

#include <QObject>

#include <initializer_list>
#include <vector>

class QAbstractButton;
class QAction;
class QWidget;

namespace m3d {

class CommandHost;
class EditorSession;

// One QAction per command of the registry: its text, keys and enabled state
// come from the command's entry and CanRun; triggering it runs the command.
// Menu items, panel buttons and keys all use these actions, so a command is
// enabled, named and run the same way wherever the user reaches it.
class CommandActions : public QObject {
    Q_OBJECT
public:
    // window: receives every action, so that each key works anywhere in it.
    CommandActions(EditorSession& session, CommandHost& host, QWidget* window);

    QAction* Action(EditorCommand command) const { return actions[static_cast<size_t>(command)]; }
    // The action of the menu command numbered id, or nullptr.
    QAction* ActionById(int id) const;
    // Runs command with a control's value (the Motion chosen, the rate, the box's state).
    void Run(EditorCommand command, int argument = 0);
    // A panel's button runs command's action when clicked and is enabled
    // with it; its own caption stays.
    void Bind(QAbstractButton* button, EditorCommand command);
    // A control that is enabled with command's action (a list, a field).
    void BindEnabled(QWidget* control, EditorCommand command);
    // Every action's enabled state and the undo and redo tool tips from the session.
    void Refresh();
    // The keys of the commands marked keysOnMainWindowOnly act only while
    // one of widgets (the main window's own area) has the keyboard focus.
    void KeepKeysOnMainWindow(std::initializer_list<QWidget*> widgets);

private:
    EditorSession& session;
    CommandHost& host;
    QWidget* window;
    std::vector<QAction*> actions;  // by command, one for every registry entry
    EditorSubscription subscription;
};

}  // namespace m3d
