#pragma once

#include "app/CAppForm.h"
#include "app/QtUserPrompt.h"
#include "editor/CommandState.h"
#include "editor/EditorEvents.h"

#include <QMainWindow>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class QAction;
class QMenu;

// The main window: the menu of every command, the form as its client area,
// and the order of shutdown (settings written while the panels exist, then
// the panels and the scene go).
class CAppFrameWnd : public QMainWindow {
    Q_OBJECT
public:
    explicit CAppFrameWnd(AppEnvironment environment);
    ~CAppFrameWnd() override;

    CAppForm* Form() const { return form; }
    // The menu item of command id, or nullptr.
    QAction* Action(int id) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What a menu item (or a shortcut) runs, and the session command whose
    // state enables it (none: always enabled).
    struct MenuHandler {
        int id;
        std::optional<EditorCommand> command;
        std::function<void()> run;
    };
    void BuildMenu();
    QAction* AddCommand(QMenu* menu, int id, const QString& text);
    std::vector<MenuHandler> MenuHandlers();
    void AddShortcuts();
    // Enables every item with a handler whose command can run now.
    void RefreshMenuStates();
    void OnDestroy();
    void OpenProjectFromDialog();
    // Puts the session's recent projects into the File menu, before its exit item.
    void RefreshRecentProjects();
    void OpenRecentProject(const std::string& path);

    CAppForm* form;
    QMenu* fileMenu = nullptr;
    std::vector<QAction*> recentProjectItems;  // the entries and the separator after them
    QtUserPrompt prompt{this};
    std::unordered_map<int, QAction*> actions;
    std::unordered_map<int, std::optional<EditorCommand>> commandOf;
    EditorSubscription subscription;
    bool destroyed = false;
};
