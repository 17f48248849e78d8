#pragma once

#include "app/CAppForm.h"

#include <QMainWindow>

#include <unordered_map>

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
    void BuildMenu();
    QAction* AddCommand(QMenu* menu, int id, const QString& text);
    void OnDestroy();

    CAppForm* form;
    std::unordered_map<int, QAction*> actions;
    bool destroyed = false;
};
