#include "app/CommandActions.h"

#include "app/CommandIds.h"
#include "app/InterfaceTranslation.h"
#include "editor/CommandRegistry.h"
#include "editor/CommandState.h"
#include "editor/EditorSession.h"

#include <QAbstractButton>
#include <QAction>
#include <QMessageBox>
#include <QWidget>

#include <new>

namespace m3d {

CommandActions::CommandActions(EditorSession& session, CommandHost& host, QWidget* window)
    : QObject(window), session(session), host(host), window(window), actions(Commands().size(), nullptr)
{
    for (const CommandEntry& entry : Commands()) {
        auto* action = new QAction(CoreText(entry.text), window);
        action->setObjectName(entry.id != 0 ? IdName(entry.id) : QString::fromUtf8(entry.name));
        action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(entry.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(entry.checked != nullptr);
        window->addAction(action);
        const EditorCommand command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { Run(command); });
        actions[static_cast<size_t>(command)] = action;
    }
    subscription = session.Events().Subscribe([this](const EditorEvent& event) {
        if (ChangesCommandState(event) || std::holds_alternative<TitleChanged>(event)) Refresh();
    });
    Refresh();
}

QAction* CommandActions::ActionById(int id) const
{
    for (const CommandEntry& entry : Commands())
        if (entry.id == id) return Action(entry.command);
    return nullptr;
}

void CommandActions::Run(EditorCommand command, int argument)
{
    // A command that runs out of memory is reported; every save is atomic,
    // so the files on disk are as they were before it.
    try {
        RunCommand(command, session, host, argument);
    } catch (const std::bad_alloc&) {
        QMessageBox::warning(qobject_cast<QWidget*>(parent()), tr("Error"),
                             tr("メモリが足りないため、処理を中止しました。"));
    }
}

void CommandActions::Bind(QAbstractButton* button, EditorCommand command)
{
    QAction* action = Action(command);
    connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
    BindEnabled(button, command);
    const auto follow = [button, action] { button->setToolTip(action->toolTip()); };
    connect(action, &QAction::changed, button, follow);
    follow();
}

void CommandActions::BindEnabled(QWidget* control, EditorCommand command)
{
    QAction* action = Action(command);
    const auto follow = [control, action] { control->setEnabled(action->isEnabled()); };
    connect(action, &QAction::changed, control, follow);
    follow();
}

void CommandActions::KeepKeysOnMainWindow(std::initializer_list<QWidget*> widgets)
{
    for (const CommandEntry& entry : Commands()) {
        if (!entry.keysOnMainWindowOnly) continue;
        QAction* action = Action(entry.command);
        window->removeAction(action);
        action->setShortcutContext(Qt::WidgetShortcut);
        for (QWidget* widget : widgets) widget->addAction(action);
    }
}

void CommandActions::Refresh()
{
    for (const CommandEntry& entry : Commands()) {
        QAction* action = Action(entry.command);
        action->setEnabled(CanRun(session, entry.command));
        if (entry.checked) action->setChecked(entry.checked(session));
    }
    const DocumentHistory& history = session.History();
    const QString undo = CoreText(EntryOf(EditorCommand::Undo).text);
    const QString redo = CoreText(EntryOf(EditorCommand::Redo).text);
    Action(EditorCommand::Undo)
        ->setToolTip(history.UndoLabel().empty() ? undo
                                                 : tr("%1: %2").arg(undo, QString::fromStdString(history.UndoLabel())));
    Action(EditorCommand::Redo)
        ->setToolTip(history.RedoLabel().empty() ? redo
                                                 : tr("%1: %2").arg(redo, QString::fromStdString(history.RedoLabel())));
}

}  // namespace m3d
