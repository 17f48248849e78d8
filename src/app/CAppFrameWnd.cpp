#include "app/CAppFrameWnd.h"

#include "app/CommandIds.h"
#include "app/InterfaceTranslation.h"
#include "app/RenderWidget.h"
#include "editor/CommandRegistry.h"
#include "editor/CommandState.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>

namespace m3d {

CAppFrameWnd::CAppFrameWnd(AppEnvironment environment)
    : recovery(*environment.session, environment.recoveryFolder),
      form(new CAppForm(std::move(environment), this)),
      host(*form, this),
      actions(form->Session(), host, this)
{
    host.UseRecovery(&recovery);
    setObjectName(IdName(IDR_MAINFRAME));
    setCentralWidget(form);
    form->UseCommandActions(actions);
    actions.KeepKeysOnMainWindow({static_cast<QWidget*>(form), form->RenderWindow()});
    BuildMenu();
}

CAppFrameWnd::~CAppFrameWnd() { OnDestroy(); }

QAction* CAppFrameWnd::Action(int id) const
{
    if (QAction* action = actions.ActionById(id)) return action;
    for (QAction* item : recentProjectItems)
        if (!item->isSeparator() && item->objectName() == IdName(id)) return item;
    return nullptr;
}

void CAppFrameWnd::BuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(IdName(IDR_MAINFRAME) + QStringLiteral("_menu"));
    // Menus are made where their first command comes, so a submenu takes its
    // place among its parent's items; separatorBefore then goes before it.
    std::map<CommandMenu, QMenu*> menus;
    std::function<QMenu*(CommandMenu, bool)> menuOf = [&](CommandMenu kind, bool separatorBefore) -> QMenu* {
        if (const auto made = menus.find(kind); made != menus.end()) return made->second;
        for (const CommandMenuEntry& entry : CommandMenus()) {
            if (entry.menu != kind) continue;
            const QString title = CoreText(entry.title);
            QMenu* parent = entry.parent == CommandMenu::None ? nullptr : menuOf(entry.parent, false);
            if (parent && separatorBefore) parent->addSeparator();
            return menus[kind] = parent ? parent->addMenu(title) : bar->addMenu(title);
        }
        return nullptr;
    };
    for (const CommandEntry& entry : Commands()) {
        if (entry.menu == CommandMenu::None) continue;
        const bool isNew = menus.count(entry.menu) == 0;
        QMenu* menu = menuOf(entry.menu, entry.separatorBefore);
        if (!isNew && entry.separatorBefore) menu->addSeparator();
        menu->addAction(actions.Action(entry.command));
        if (entry.alsoIn != CommandMenu::None) menus.at(entry.alsoIn)->addAction(actions.Action(entry.command));
    }
    fileMenu = menus.at(CommandMenu::File);
    connect(fileMenu, &QMenu::aboutToShow, this, &CAppFrameWnd::RefreshRecentProjects);
}

void CAppFrameWnd::RefreshRecentProjects()
{
    for (QAction* item : recentProjectItems) delete item;
    recentProjectItems.clear();
    const std::vector<std::string>& paths = form->Session().RecentProjects().Paths();
    if (paths.empty()) return;
    QAction* exitItem = actions.Action(EditorCommand::Exit);
    for (size_t i = 0; i < paths.size(); ++i) {
        auto* item = new QAction(QString::fromStdString(RecentFileMenuText(i, paths[i])), fileMenu);
        item->setObjectName(IdName(ID_FILE_MRU_FIRST + int(i)));
        item->setEnabled(CanRun(form->Session(), EditorCommand::OpenProject));
        connect(item, &QAction::triggered, this, [this, path = paths[i]] { OpenRecentProject(path); });
        fileMenu->insertAction(exitItem, item);
        recentProjectItems.push_back(item);
    }
    recentProjectItems.push_back(fileMenu->insertSeparator(exitItem));
}

void CAppFrameWnd::OpenRecentProject(const std::string& path)
{
    if (ReadyToOpenRecentProject(form->Session(), prompt, path)) form->OpenProjectFile(path);
}

void CAppFrameWnd::closeEvent(QCloseEvent* event)
{
    // Cancel, or a save that did not happen, keeps the window open.
    if (!destroyed && !AskSaveBeforeClosing(form->Session(), prompt)) {
        event->ignore();
        return;
    }
    event->accept();
    OnDestroy();
}

void CAppFrameWnd::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Nothing is drawn while minimised; the first frame after it catches up.
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) form->RequestRedraw();
}

void CAppFrameWnd::StartRecovery()
{
    recovery.Start(form->Settings().recoveryIntervalMinutes);
    QTimer::singleShot(0, this, [this] { recovery.OfferAtStart(prompt, this); });
}

void CAppFrameWnd::OnDestroy()
{
    if (destroyed) return;
    destroyed = true;
    recovery.EndCleanly();
    if (const Outcome saved = form->SaveSettings(); !saved)
        std::fprintf(stderr, "marionettica3d: %s\n", saved.Message().c_str());
    form->DestroyPanelsAndScene();
}

}  // namespace m3d
