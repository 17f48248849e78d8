#pragma once

#include "app/CAppForm.h"
#include "app/CommandActions.h"
#include "app/DocumentRecovery.h"
#include "app/QtCommandHost.h"
#include "app/QtUserPrompt.h"

#include <QMainWindow>

#include <vector>

class QAction;
class QMenu;

namespace m3d {

// The main window: the menu of every command (built from the command
// registry), the form as its client area, and the order of shutdown
// (settings written while the panels exist, then the panels and the scene go).
class CAppFrameWnd : public QMainWindow {
    Q_OBJECT
public:
    explicit CAppFrameWnd(AppEnvironment environment);
    ~CAppFrameWnd() override;

    CAppForm* Form() const { return form; }
    // The action of command id (a menu command or a recent project), or nullptr.
    QAction* Action(int id) const;
    CommandActions& Actions() { return actions; }
    DocumentRecovery& Recovery() { return recovery; }
    // Starts the snapshots at the interval the settings give; then, once the
    // window shows, offers what earlier runs left.
    void StartRecovery();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenu();
    void OnDestroy();
    // Puts the session's recent projects into the File menu, before its exit item.
    void RefreshRecentProjects();
    void OpenRecentProject(const std::string& path);

    // Before the form, which takes the environment.
    DocumentRecovery recovery;
    CAppForm* form;
    QtCommandHost host;
    CommandActions actions;
    QMenu* fileMenu = nullptr;
    std::vector<QAction*> recentProjectItems;  // the entries and the separator after them
    QtUserPrompt prompt{this};
    bool destroyed = false;
};

}  // namespace m3d
