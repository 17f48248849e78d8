#include "ActionPlayer.h"

#include "SoakWindow.h"
#include "WidgetAddress.h"
#include "app/CommandIds.h"
#include "app/CAppForm.h"
#include "app/PartsTreePanel.h"
#include "scene/PartMove.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>

#include <chrono>
#include <thread>

namespace m3d::soak {

namespace {

Qt::MouseButton ButtonOf(const std::string& name)
{
    if (name == "R") return Qt::RightButton;
    if (name == "M") return Qt::MiddleButton;
    return Qt::LeftButton;
}

Qt::KeyboardModifiers ModifiersOf(const std::string& letters)
{
    Qt::KeyboardModifiers modifiers;
    if (letters.find('S') != std::string::npos) modifiers |= Qt::ShiftModifier;
    if (letters.find('C') != std::string::npos) modifiers |= Qt::ControlModifier;
    if (letters.find('A') != std::string::npos) modifiers |= Qt::AltModifier;
    return modifiers;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

QTreeWidgetItem* ItemAt(QTreeWidget* tree, const std::string& path)
{
    QTreeWidgetItem* item = nullptr;
    for (const QString& part : QString::fromStdString(path).split('.')) {
        bool ok = false;
        const int index = part.toInt(&ok);
        if (!ok || index < 0) return nullptr;
        if (item == nullptr) {
            if (index >= tree->topLevelItemCount()) return nullptr;
            item = tree->topLevelItem(index);
        } else {
            if (index >= item->childCount()) return nullptr;
            item = item->child(index);
        }
    }
    return item;
}

// Where the check box of item is drawn, in the tree's viewport.
QRect CheckBoxOf(QTreeWidget* tree, QTreeWidgetItem* item)
{
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.rect = tree->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.checkState = item->checkState(0);
    option.text = item->text(0);
    option.font = tree->font();
    option.fontMetrics = tree->fontMetrics();
    option.decorationSize = tree->iconSize();
    return tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
}

// Presses the dialog's button of kind in its button box as the mouse would;
// without one that can be pressed, ends the dialog as the button would.
void PressBoxButton(QDialog* dialog, QDialogButtonBox::StandardButton kind)
{
    for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>()) {
        if (QPushButton* button = box->button(kind); button && button->isVisible() && button->isEnabled()) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    if (kind == QDialogButtonBox::Cancel)
        dialog->reject();
    else
        dialog->accept();
}

}  // namespace

ActionPlayer::ActionPlayer(SoakWindow& soakWindow, const SoakFolder& soakFolder)
    : window(soakWindow), folder(soakFolder)
{
}

std::string ActionPlayer::Play(const SoakAction& action)
{
    const std::string& verb = action.verb;
    if (verb == "mouse") return Mouse(action);
    if (verb == "click") return Click(action);
    if (verb == "type") return Type(action);
    if (verb == "key") return Key(action);
    if (verb == "menu-open") return MenuOpen(action);
    if (verb == "menu-item") return MenuItem(action);
    if (verb == "popup-row") return PopupRow(action);
    if (verb == "tree") return Tree(action);
    if (verb == "tree-drop") return TreeDrop(action);
    if (verb == "file") return File(action);
    if (verb == "file-cancel") return FileCancel();
    if (verb == "colour") return Colour(action);
    if (verb == "drop-files") return DropFiles(action);
    if (verb == "reopen") return Reopen(action);
    if (verb == "close-window") {
        if (!window.IsOpen()) return "the window is closed";
        window.Frame()->close();
        return std::string();
    }
    if (verb == "dialog-reject") return RejectDialog();
    if (verb == "wait" || verb == "end") return std::string();
    // Never chosen: a step list that holds it tests the watchdog (freeze.steps).
    if (verb == "freeze") {
        std::this_thread::sleep_for(std::chrono::milliseconds(action.GetInt("ms")));
        return std::string();
    }
    return "unknown step " + verb;
}

QWidget* ActionPlayer::Reachable(const SoakAction& action, std::string& why)
{
    QWidget* target = WidgetAt(QString::fromStdString(action.Get("target")), window.Frame());
    if (target == nullptr) {
        why = "no widget at " + action.Get("target");
        return nullptr;
    }
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* modal = QApplication::activeModalWidget();
    if (popup != nullptr && target->window() != popup) {
        why = "a popup is open";
        return nullptr;
    }
    if (popup == nullptr && modal != nullptr && target->window() != modal) {
        why = "a modal dialog is open";
        return nullptr;
    }
    if (!target->isVisible() || !target->isEnabled()) {
        why = "the widget is hidden or disabled";
        return nullptr;
    }
    if (target->window() == window.Frame()) ActivateMainWindow();
    return target;
}

void ActionPlayer::ActivateMainWindow()
{
    // A desktop's window manager gives the window the focus back when its
    // dialogs close; without one it is asked to, and its keys wait for it.
    if (window.Frame()->isActiveWindow()) return;
    window.Frame()->activateWindow();
    // Should it not come, the step is played all the same: a click needs no focus.
    static_cast<void>(QTest::qWaitForWindowActive(window.Frame(), 1000));
}

std::string ActionPlayer::Mouse(const SoakAction& action)
{
    std::string why;
    QPointer<QWidget> target = Reachable(action, why);
    if (!target) return why;
    const std::string op = action.Get("op");
    const Qt::MouseButton button = ButtonOf(action.Get("b"));
    const Qt::KeyboardModifiers modifiers = ModifiersOf(action.Get("m"));
    const QPoint from(action.GetInt("x"), action.GetInt("y"));
    const QPoint to(action.GetInt("x2"), action.GetInt("y2"));
    const int steps = std::clamp(action.GetInt("n", 1), 1, 100);
    if (op == "click" || op == "double") {
        SendMouse(target, QEvent::MouseButtonPress, from, button, button, modifiers);
        if (target) SendMouse(target, QEvent::MouseButtonRelease, from, button, Qt::NoButton, modifiers);
        if (op == "double" && target) {
            SendMouse(target, QEvent::MouseButtonDblClick, from, button, button, modifiers);
            if (target) SendMouse(target, QEvent::MouseButtonRelease, from, button, Qt::NoButton, modifiers);
        }
    } else if (op == "drag") {
        SendMouse(target, QEvent::MouseButtonPress, from, button, button, modifiers);
        for (int k = 1; k <= steps && target; ++k) {
            SendMouse(target, QEvent::MouseMove, from + (to - from) * k / steps, Qt::NoButton, button, modifiers);
            // The window draws and its timers run between the moves, as they would.
            QCoreApplication::processEvents();
        }
        if (target) SendMouse(target, QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
    } else if (op == "wheel") {
        QWheelEvent wheel(QPointF(from), QPointF(target->mapToGlobal(from)), QPoint(), QPoint(0, action.GetInt("d")),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &wheel);
    } else if (op == "cursor-drag") {
        // The toolbar's zoom and pan pictures follow the cursor itself.
        const QPoint centre = target->rect().center();
        QCursor::setPos(target->mapToGlobal(centre));
        SendMouse(target, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        const QPoint start = QCursor::pos();
        for (int k = 1; k <= steps && target; ++k) {
            const QPoint at = start + to * k / steps;
            QCursor::setPos(at);
            SendMouse(target, QEvent::MouseMove, target->mapFromGlobal(at), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
            QCoreApplication::processEvents();
        }
        if (target)
            SendMouse(target, QEvent::MouseButtonRelease, target->mapFromGlobal(QCursor::pos()), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    } else {
        return "unknown mouse op " + op;
    }
    return std::string();
}

std::string ActionPlayer::Click(const SoakAction& action)
{
    std::string why;
    QWidget* target = Reachable(action, why);
    if (target == nullptr) return why;
    QTest::mouseClick(target, ButtonOf(action.Get("b")), ModifiersOf(action.Get("m")),
                      QPoint(action.GetInt("x"), action.GetInt("y")));
    return std::string();
}

std::string ActionPlayer::Type(const SoakAction& action)
{
    std::string why;
    QPointer<QLineEdit> field = qobject_cast<QLineEdit*>(Reachable(action, why));
    if (!field) return why.empty() ? "not a field" : why;
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, field->rect().center());
    if (field) QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    for (const QChar letter : QString::fromStdString(action.Get("text"))) {
        if (!field) break;
        if (letter.unicode() >= 0x20 && letter.unicode() < 0x7f) {
            QTest::keyClick(field, char(letter.unicode()));
        } else {
            // Letters no key gives come as an input method commits them.
            QInputMethodEvent commit;
            commit.setCommitString(letter);
            QCoreApplication::sendEvent(field, &commit);
        }
    }
    if (field && action.GetInt("enter") != 0) QTest::keyClick(field, Qt::Key_Return);
    return std::string();
}

std::string ActionPlayer::Key(const SoakAction& action)
{
    std::string why;
    QWidget* target = Reachable(action, why);
    if (target == nullptr) return why;
    const QKeySequence keys =
        QKeySequence::fromString(QString::fromStdString(action.Get("seq")), QKeySequence::PortableText);
    if (keys.isEmpty()) return "no key " + action.Get("seq");
    if (action.GetInt("focus") != 0) target->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(target, keys[0].key(), keys[0].keyboardModifiers());
    return std::string();
}

std::string ActionPlayer::MenuOpen(const SoakAction& action)
{
    if (!window.IsOpen()) return "the window is closed";
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return "a dialog or popup is open";
    QMenuBar* bar = window.Frame()->menuBar();
    const QString title = QString::fromStdString(action.Get("title"));
    for (QAction* item : bar->actions()) {
        if (item->text() != title || item->menu() == nullptr) continue;
        ActivateMainWindow();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(item).center());
        return std::string();
    }
    return "no menu " + action.Get("title");
}

std::string ActionPlayer::MenuItem(const SoakAction& action)
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return "no menu is open";
    const QString text = QString::fromStdString(action.Get("text"));
    for (QAction* item : menu->actions()) {
        if (item->text() != text || item->isSeparator()) continue;
        if (!item->isEnabled()) return "the item is disabled";
        if (item->menu() == nullptr) ++menuCommands[item->objectName().isEmpty() ? text : item->objectName()];
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
        // A submenu opens after a short delay; the next step is for it.
        if (QMenu* submenu = item->menu())
            static_cast<void>(
                QTest::qWaitFor([submenu] { return QApplication::activePopupWidget() == submenu; }, 1000));
        return std::string();
    }
    return "no item " + action.Get("text");
}

std::string ActionPlayer::PopupRow(const SoakAction& action)
{
    QWidget* popup = QApplication::activePopupWidget();
    auto* view = popup ? popup->findChild<QAbstractItemView*>() : nullptr;
    if (view == nullptr || view->model() == nullptr) return "no list popup is open";
    const QModelIndex index = view->model()->index(action.GetInt("row"), 0, view->rootIndex());
    if (!index.isValid()) return "no such row";
    view->scrollTo(index);
    // A list opened by a click ignores releases for a double-click interval,
    // so that the opening click does not choose; a person is slower.
    QTest::qWait(QApplication::doubleClickInterval());
    if (QApplication::activePopupWidget() != popup) return "the list closed";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
    return std::string();
}

std::string ActionPlayer::Tree(const SoakAction& action)
{
    if (!window.IsOpen() || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return "the tree cannot be reached";
    QTreeWidget* tree = window.Frame()->Form()->HostedPanel<PartsTreePanel>()->Tree();
    QTreeWidgetItem* item = ItemAt(tree, action.Get("row"));
    if (item == nullptr) return "no row " + action.Get("row");
    const QRect rect = tree->visualItemRect(item);
    if (rect.isEmpty()) return "the row is not shown";
    const QRect check = CheckBoxOf(tree, item);
    const QPoint onText(std::min(check.right() + 12, rect.right() - 1), rect.center().y());
    const std::string op = action.Get("op");
    if (op == "check")
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                          check.isEmpty() ? QPoint(rect.left() + 8, rect.center().y()) : check.center());
    else if (op == "double")
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, onText);
    else
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, onText);
    return std::string();
}

std::string ActionPlayer::TreeDrop(const SoakAction& action)
{
    if (!window.IsOpen() || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return "the tree cannot be reached";
    PartsTreePanel* panel = window.Frame()->Form()->HostedPanel<PartsTreePanel>();
    QTreeWidgetItem* from = ItemAt(panel->Tree(), action.Get("from"));
    QTreeWidgetItem* to = ItemAt(panel->Tree(), action.Get("to"));
    Scene& scene = window.Session().GetScene();
    auto handleOf = [&](QTreeWidgetItem* item) {
        if (item != nullptr && panel->WidgetItem(scene.rootPart.treeItem) == item) return scene.rootPart.treeItem;
        for (int i = 0; item != nullptr && i < scene.PartCount(); ++i)
            if (panel->WidgetItem(scene.PartAt(i)->treeItem) == item) return scene.PartAt(i)->treeItem;
        return kNoTreeItem;
    };
    const TreeItem dragged = handleOf(from), target = handleOf(to);
    if (dragged == kNoTreeItem || target == kNoTreeItem) return "no such rows";
    // The tree's drag lets go only where its drop check allows.
    if (window.Session().IsPlaying() ||
        !PlanPartMove(scene, scene.FindPartByTreeItem(dragged), scene.FindPartByTreeItem(target)))
        return "the tree refuses this drop";
    panel->Drop(dragged, target);
    return std::string();
}

std::string ActionPlayer::RejectDialog()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return std::string();
    }
    QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return "no modal dialog";
    dialog->reject();
    // Some dialogs ignore Escape and close only on their cancel button.
    for (QAbstractButton* button : dialog ? dialog->findChildren<QAbstractButton*>() : QList<QAbstractButton*>()) {
        const QString text = button->text().remove('&');
        if (button->isVisible() && button->isEnabled() &&
            (button->objectName() == IdName(IDCANCEL) || text == QStringLiteral("キャンセル") ||
             text == QStringLiteral("ｷｬﾝｾﾙ") || text == QStringLiteral("Cancel"))) {
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
    }
    if (dialog && dialog->isVisible()) dialog->done(QDialog::Rejected);
    return std::string();
}

std::string ActionPlayer::File(const SoakAction& action)
{
    auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (files == nullptr) return "no file dialog is open";
    const std::string path = folder.Absolute(action.Get("path"));
    if (path.empty()) return "the path leaves the soak's folder";
    auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name == nullptr) return "the file dialog has no name field";
    name->setText(QString::fromStdString(path));
    PressBoxButton(files,
                   files->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open);
    return std::string();
}

std::string ActionPlayer::FileCancel()
{
    auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (files == nullptr) return "no file dialog is open";
    PressBoxButton(files, QDialogButtonBox::Cancel);
    return std::string();
}

std::string ActionPlayer::Colour(const SoakAction& action)
{
    auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (picker == nullptr) return "no colour dialog is open";
    picker->setCurrentColor(QColor(QString::fromStdString(action.Get("rgb"))));
    PressBoxButton(picker, QDialogButtonBox::Ok);
    return std::string();
}

std::string ActionPlayer::DropFiles(const SoakAction& action)
{
    if (!window.IsOpen() || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return "the window cannot be reached";
    QList<QUrl> urls;
    for (const QString& file : QString::fromStdString(action.Get("files")).split(',', Qt::SkipEmptyParts)) {
        const std::string path = folder.Absolute(file.toStdString());
        if (path.empty()) return "a file leaves the soak's folder";
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    CAppForm* form = window.Frame()->Form();
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = form->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form, &enter);
    if (!enter.isAccepted()) return "the form refuses the drag";
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form, &drop);
    return std::string();
}

std::string ActionPlayer::Reopen(const SoakAction& action)
{
    if (window.IsOpen()) return "the window is open";
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return "a dialog or popup is open";
    const std::string project = folder.Absolute(action.Get("file"));
    if (project.empty()) return "the project leaves the soak's folder";
    window.Open(project, action.Get("lang") == "en" ? "en" : "ja");
    return std::string();
}

}  // namespace m3d::soak
