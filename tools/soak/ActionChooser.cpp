#include "ActionChooser.h"

#include "SoakWindow.h"
#include "WidgetAddress.h"
#include "app/CAppForm.h"
#include "app/CommandIds.h"
#include "app/CurvePanel.h"
#include "app/DisplayToolbar.h"
#include "app/MotionPanel.h"
#include "app/PartsTreePanel.h"
#include "app/RenderWidget.h"
#include "editor/ColourSettings.h"
#include "editor/CommandRegistry.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace m3d::soak {

namespace {

// Steps on one modal dialog after which Escape gets likelier, and after
// which the dialog is closed outright (a dialog that ignores Escape); at the
// run's end, steps on a dialog or popup before it is closed outright.
constexpr int kPatientSteps = 60;
constexpr int kMostSteps = 200;
constexpr int kClosingSteps = 5;
// How much less likely than another the choice of leaving the program is.
constexpr double kRarely = 0.1;

// Keys besides the registry's: editing keys, the arrows, function keys and
// letters, with and without modifiers.
const char* const kOtherKeys[] = {"Esc",    "Return", "Tab",    "Backspace", "Del",     "Up",    "Down",    "PgUp",
                                  "PgDown", "F1",     "F3",     "F5",        "F10",     "A",     "Z",       "1",
                                  "0",      "Ctrl+A", "Ctrl+C", "Ctrl+V",    "Shift+F", "Alt+F", "Alt+Left"};

const char* const kJunk[] = {"abc", "1e40", "-",  "+",      ".",   "9999999999", " 12 ", "nan",  "inf",   "0x10",
                             "1,5", "--3",  "-0", "日本語", "a/b", "../up",      "\\",   "%s%n", "1e-45", "-1e38"};
const char* const kNames[] = {"Default", "walk", "run", "腕", "part", "Motion 2", "a", "torso", "head", "左"};

bool Usable(const QWidget* widget)
{
    return widget->isVisible() && widget->isEnabled() && widget->width() > 2 && widget->height() > 2;
}

template <typename T>
std::vector<T*> UsableChildren(QWidget* root)
{
    std::vector<T*> out;
    for (T* child : root->findChildren<T*>())
        if (Usable(child) && child->window() == root->window()) out.push_back(child);
    return out;
}

// The rows of tree shown in its viewport, as index paths from the top ("0.2.1").
std::vector<QString> ShownRows(QTreeWidget* tree)
{
    std::vector<QString> rows;
    const QRect shown = tree->viewport()->rect();
    std::function<void(QTreeWidgetItem*, const QString&)> walk = [&](QTreeWidgetItem* item, const QString& path) {
        const QRect rect = tree->visualItemRect(item);
        if (!rect.isEmpty() && shown.contains(rect.center())) rows.push_back(path);
        if (!item->isExpanded()) return;
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), path + "." + QString::number(i));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) walk(tree->topLevelItem(i), QString::number(i));
    return rows;
}

std::vector<std::string> PatternSuffixes(const QFileDialog* files)
{
    std::vector<std::string> suffixes;
    for (const QString& filter : files->nameFilters()) {
        const qsizetype open = filter.lastIndexOf('('), close = filter.lastIndexOf(')');
        if (open < 0 || close < open) continue;
        for (const QString& pattern : filter.mid(open + 1, close - open - 1).split(' ', Qt::SkipEmptyParts))
            if (pattern.startsWith(QLatin1String("*."))) suffixes.push_back(pattern.mid(1).toStdString());
    }
    return suffixes;
}

}  // namespace

ActionChooser::ActionChooser(uint64_t seed, const SoakFolder& soakFolder) : random(seed), folder(soakFolder)
{
    for (const CommandEntry& entry : Commands())
        for (const QKeySequence& keys : QKeySequence::listFromString(QString::fromUtf8(entry.shortcut)))
            if (!keys.isEmpty()) shortcuts.push_back(keys.toString(QKeySequence::PortableText));
}

SoakAction ActionChooser::Next(SoakWindow& window)
{
    QWidget* main = window.Frame();
    if (QWidget* popup = QApplication::activePopupWidget()) return ForPopup(popup, main);
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (modal != lastModal) {
            lastModal = modal;
            stepsOnModal = 0;
        }
        ++stepsOnModal;
        if (stepsOnModal > kMostSteps) return SoakAction{"dialog-reject", {}};
        if (stepsOnModal > kPatientSteps && random.Chance(0.5)) return Key(modal, main, "Esc");
        return ForModal(modal, main);
    }
    if (!window.IsOpen()) return Reopen();
    return ForMainWindow(window);
}

SoakAction ActionChooser::Closing(SoakWindow& window)
{
    QWidget* main = window.Frame();
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* modal = QApplication::activeModalWidget();
    if (QWidget* front = popup ? popup : modal) {
        if (front != lastModal) {
            lastModal = front;
            stepsOnModal = 0;
        }
        // Escape first, as the user would; what stays open after a few is closed outright.
        if (++stepsOnModal > kClosingSteps) return SoakAction{"dialog-reject", {}};
    }
    if (popup) return Key(popup, main, "Esc");
    if (modal) {
        if (qobject_cast<QFileDialog*>(modal)) return SoakAction{"file-cancel", {}};
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            for (QMessageBox::ButtonRole role : {QMessageBox::NoRole, QMessageBox::RejectRole})
                for (QAbstractButton* button : box->buttons())
                    if (box->buttonRole(button) == role) return Click(button, main, button->rect().center());
        }
        return Key(modal, main, "Esc");
    }
    if (window.IsOpen()) return SoakAction{"close-window", {}};
    return SoakAction{"end", {}};
}

SoakAction ActionChooser::ForPopup(QWidget* popup, QWidget* main)
{
    if (auto* menu = qobject_cast<QMenu*>(popup)) return ForMenu(menu);
    auto* view = popup->findChild<QAbstractItemView*>();
    if (view == nullptr || view->model() == nullptr || view->model()->rowCount() == 0 || random.Chance(0.15))
        return Key(popup, main, "Esc");
    return SoakAction{"popup-row", {}}.Set("row", random.Between(0, view->model()->rowCount() - 1));
}

SoakAction ActionChooser::ForMenu(QMenu* menu)
{
    std::vector<QString> items;
    std::vector<double> weights;
    for (QAction* action : menu->actions()) {
        if (!action->isVisible() || !action->isEnabled() || action->isSeparator()) continue;
        items.push_back(action->text());
        // Leaving the program ends the session the steps have built up: rarely.
        const double rarely = action->objectName() == IdName(ID_APP_EXIT) ? kRarely : 1.0;
        weights.push_back(rarely / (1.0 + uses[action->text()]));
    }
    if (items.empty() || random.Chance(0.06)) return SoakAction{"key", {}}.Set("target", "popup").Set("seq", "Esc");
    const QString& item = items[random.Weighted(weights)];
    ++uses[item];
    return SoakAction{"menu-item", {}}.Set("text", item.toStdString());
}

SoakAction ActionChooser::ForModal(QWidget* modal, QWidget* main)
{
    if (auto* files = qobject_cast<QFileDialog*>(modal)) return ForFileDialog(files);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) return ForMessageBox(box, main);
    if (qobject_cast<QColorDialog*>(modal)) {
        if (random.Chance(0.5)) return Key(modal, main, "Esc");
        char rgb[8];
        std::snprintf(rgb, sizeof rgb, "#%02x%02x%02x", random.Between(0, 255), random.Between(0, 255),
                      random.Between(0, 255));
        return SoakAction{"colour", {}}.Set("rgb", rgb);
    }
    if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
        if (random.Chance(0.3)) return Key(progress, main, "Esc");
        return SoakAction{"wait", {}}.Set("ms", random.Between(50, 300));
    }
    if (modal->objectName() == IdName(IDD_COLOUR_SETTINGS) && random.Chance(0.2)) {
        const PixelRect& swatch = ColourSwatches()[size_t(random.Between(0, int(ColourSwatches().size()) - 1))].rect;
        return Click(modal, main, {(swatch.left + swatch.right) / 2, (swatch.top + swatch.bottom) / 2});
    }
    return ForDialog(modal, main);
}

SoakAction ActionChooser::ForFileDialog(QFileDialog* files)
{
    if (random.Chance(0.45)) return SoakAction{"file-cancel", {}};
    const std::vector<std::string> suffixes = PatternSuffixes(files);
    const std::string suffix = suffixes.empty() ? std::string() : random.Pick(suffixes);
    std::string path;
    if (files->acceptMode() == QFileDialog::AcceptSave) {
        const std::string stem = suffix == ".anm" ? "saves/project-" : "exports/model-";
        const size_t kind = random.Weighted({85, 10, 5});
        if (kind == 0) path = stem + std::to_string(random.Between(0, 3)) + suffix;
        if (kind == 1) path = stem + std::to_string(random.Between(0, 3));  // the dialog adds its suffix
        if (kind == 2) path = "saves/no-such-folder/project" + suffix;
    } else {
        const size_t kind = random.Weighted({75, 15, 10});
        std::vector<std::string> candidates = folder.Files(kind == 0 ? suffixes : std::vector<std::string>{});
        if (kind == 2 || candidates.empty())
            path = "saves/missing-" + std::to_string(random.Between(0, 3)) + suffix;
        else
            path = random.Pick(candidates);
    }
    return SoakAction{"file", {}}.Set("path", path);
}

SoakAction ActionChooser::ForMessageBox(QMessageBox* box, QWidget* main)
{
    std::vector<QAbstractButton*> safe, all;
    for (QAbstractButton* button : box->buttons()) {
        if (!Usable(button)) continue;
        all.push_back(button);
        const QMessageBox::ButtonRole role = box->buttonRole(button);
        if (role == QMessageBox::RejectRole || role == QMessageBox::NoRole) safe.push_back(button);
    }
    if (all.empty()) return Key(box, main, "Esc");
    if (random.Chance(0.65)) {
        if (safe.empty()) return Key(box, main, "Esc");
        QAbstractButton* button = random.Pick(safe);
        return Click(button, main, button->rect().center());
    }
    QAbstractButton* button = random.Pick(all);
    return Click(button, main, button->rect().center());
}

SoakAction ActionChooser::ForDialog(QWidget* dialog, QWidget* main)
{
    const std::vector<QAbstractButton*> buttons = UsableChildren<QAbstractButton>(dialog);
    const std::vector<QLineEdit*> fields = UsableChildren<QLineEdit>(dialog);
    const std::vector<QScrollBar*> bars = UsableChildren<QScrollBar>(dialog);
    switch (random.Weighted({35, buttons.empty() ? 0.0 : 25, fields.empty() ? 0.0 : 25, bars.empty() ? 0.0 : 10, 5})) {
    case 1: {
        QAbstractButton* button = random.Pick(buttons);
        return Click(button, main, button->rect().center());
    }
    case 2: return Type(random.Pick(fields), main);
    case 3: {
        QScrollBar* bar = random.Pick(bars);
        return Click(bar, main, {random.Between(1, bar->width() - 2), random.Between(1, bar->height() - 2)});
    }
    case 4: return Key(dialog, main, "Return");
    default: return Key(dialog, main, "Esc");
    }
}

SoakAction ActionChooser::Reopen()
{
    std::vector<std::string> projects = folder.Files({".anm"});
    std::string project = "figure/figure.anm";
    if (!projects.empty() && random.Chance(0.4)) project = random.Pick(projects);
    return SoakAction{"reopen", {}}.Set("file", project).Set("lang", random.Chance(0.3) ? "en" : "ja");
}

SoakAction ActionChooser::ForMainWindow(SoakWindow& window)
{
    QWidget* main = window.Frame();
    CAppForm& form = *window.Frame()->Form();
    auto* timeline = form.HostedPanel<MotionPanel>();
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* button : UsableChildren<QAbstractButton>(&form))
        // The undo and redo buttons have a choice of their own.
        if (button->objectName() != IdName(IDC_UNDO) && button->objectName() != IdName(IDC_REDO))
            buttons.push_back(button);
    const std::vector<QLineEdit*> fields = UsableChildren<QLineEdit>(&form);
    const std::vector<QComboBox*> lists = UsableChildren<QComboBox>(&form);
    const std::vector<QScrollBar*> bars = UsableChildren<QScrollBar>(&form);
    std::vector<QWidget*> pictures;
    for (QLabel* label : UsableChildren<QLabel>(&form))
        if (qobject_cast<DisplayToolbar*>(label->parentWidget()) &&
            (label->objectName() == IdName(IDC_VIEW_ZOOM) || label->objectName() == IdName(IDC_VIEW_PAN) ||
             label->objectName() == IdName(IDC_VIEW_LAYOUT)))
            pictures.push_back(label);
    const bool haveTimeline = timeline != nullptr && Usable(timeline);
    const bool haveTree = form.HostedPanel<PartsTreePanel>() != nullptr && Usable(form.HostedPanel<PartsTreePanel>());
    auto* curves = form.HostedPanel<CurvePanel>();
    const bool haveCurves = curves != nullptr && Usable(curves);
    switch (random.Weighted({22, haveTimeline ? 12.0 : 0, buttons.empty() ? 0.0 : 12, fields.empty() ? 0.0 : 7,
                             lists.empty() ? 0.0 : 3, bars.empty() ? 0.0 : 2, haveTree ? 7.0 : 0,
                             pictures.empty() ? 0.0 : 4, 8, 10, 8, 1, 1, haveCurves ? 6.0 : 0, 3})) {
    case 0: return Mouse(form.RenderWindow(), main, false, window);
    case 1: return Mouse(timeline, main, true, window);
    case 2: {
        QAbstractButton* button = random.Pick(buttons);
        return Click(button, main, {random.Between(1, button->width() - 2), random.Between(1, button->height() - 2)});
    }
    case 3: {
        QLineEdit* field = random.Pick(fields);
        if (random.Chance(0.1)) return Click(field, main, field->rect().center(), "R");  // its context menu
        return Type(field, main);
    }
    case 4: {
        QComboBox* list = random.Pick(lists);
        if (random.Chance(0.3)) return Key(list, main, random.Chance(0.5) ? "Up" : "Down", true);
        return Click(list, main, list->rect().center());
    }
    case 5: {
        QScrollBar* bar = random.Pick(bars);
        if (random.Chance(0.3)) return Mouse(bar, main, false, window);
        return Click(bar, main, {random.Between(1, bar->width() - 2), random.Between(1, bar->height() - 2)});
    }
    case 6: return TreeStep(window);
    case 7: return ToolbarPicture(random.Pick(pictures), main);
    case 8: return MenuBar(main);
    case 9: return AnyKey(window);
    case 10: return UndoOrRedo(window);
    case 11: return Splitter(window);
    case 12: return DropFiles();
    case 13: return Mouse(curves, main, false, window);
    default: return SoakAction{"wait", {}}.Set("ms", random.Between(100, 1500));
    }
}

SoakAction ActionChooser::Mouse(QWidget* target, QWidget* main, bool onTimeline, SoakWindow& window)
{
    static const char* const kOps[] = {"click", "drag", "double", "wheel"};
    static const char* const kButtons[] = {"L", "R", "M"};
    const int w = target->width(), h = target->height();
    int x = random.Between(1, w - 2), y = random.Between(1, h - 2);
    // Most presses on the motion panel land on its timeline.
    const MotionTimeline& timeline = window.Session().Timeline();
    for (int tries = 0; onTimeline && tries < 20 && !timeline.InTimelineArea(x, y) && !random.Chance(0.25); ++tries) {
        x = random.Between(1, w - 2);
        y = random.Between(1, h - 2);
    }
    SoakAction action{"mouse", {}};
    action.Set("target", AddressOf(target, main).toStdString());
    const char* op = kOps[random.Weighted({30, 50, 5, 15})];
    action.Set("op", op).Set("b", kButtons[random.Weighted({60, 25, 15})]);
    std::string modifiers = Modifiers();
    if (onTimeline && std::string(op) == "wheel" && random.Chance(0.7)) modifiers = "C";  // Ctrl+wheel zooms it
    action.Set("m", modifiers).Set("x", x).Set("y", y);
    if (std::string(op) == "drag") {
        action.Set("x2", std::clamp(x + random.Between(-150, 150), -40, w + 40));
        action.Set("y2", std::clamp(y + random.Between(-150, 150), -40, h + 40));
        action.Set("n", random.Between(1, 16));
    }
    if (std::string(op) == "wheel") action.Set("d", (random.Chance(0.5) ? 120 : -120) * random.Between(1, 3));
    return action;
}

SoakAction ActionChooser::Click(QWidget* target, QWidget* main, QPoint at, const char* button)
{
    return SoakAction{"click", {}}
        .Set("target", AddressOf(target, main).toStdString())
        .Set("b", button)
        .Set("x", at.x())
        .Set("y", at.y());
}

SoakAction ActionChooser::Type(QLineEdit* field, QWidget* main)
{
    return SoakAction{"type", {}}
        .Set("target", AddressOf(field, main).toStdString())
        .Set("text", FieldText())
        .Set("enter", random.Chance(0.4) ? 1 : 0);
}

SoakAction ActionChooser::Key(QWidget* target, QWidget* main, const QString& sequence, bool focusFirst)
{
    SoakAction action{"key", {}};
    action.Set("target", AddressOf(target, main).toStdString()).Set("seq", sequence.toStdString());
    if (focusFirst) action.Set("focus", 1);
    return action;
}

SoakAction ActionChooser::TreeStep(SoakWindow& window)
{
    QTreeWidget* tree = window.Frame()->Form()->HostedPanel<PartsTreePanel>()->Tree();
    const std::vector<QString> rows = ShownRows(tree);
    if (rows.empty()) return SoakAction{"wait", {}}.Set("ms", 50);
    static const char* const kOps[] = {"click", "check", "double", "drop"};
    const char* op = kOps[random.Weighted({50, 30, 10, 10})];
    if (std::string(op) == "drop")
        return SoakAction{"tree-drop", {}}
            .Set("from", random.Pick(rows).toStdString())
            .Set("to", random.Pick(rows).toStdString());
    return SoakAction{"tree", {}}.Set("op", op).Set("row", random.Pick(rows).toStdString());
}

SoakAction ActionChooser::ToolbarPicture(QWidget* picture, QWidget* main)
{
    if (picture->objectName() == IdName(IDC_VIEW_LAYOUT) || random.Chance(0.1))
        return Click(picture, main, picture->rect().center());
    return SoakAction{"mouse", {}}
        .Set("target", AddressOf(picture, main).toStdString())
        .Set("op", "cursor-drag")
        .Set("x2", random.Between(-120, 120))
        .Set("y2", random.Between(-120, 120))
        .Set("n", random.Between(1, 10));
}

SoakAction ActionChooser::MenuBar(QWidget* main)
{
    auto* frame = static_cast<QMainWindow*>(main);
    std::vector<QString> titles;
    for (QAction* action : frame->menuBar()->actions())
        if (action->menu() && action->isVisible() && action->isEnabled()) titles.push_back(action->text());
    if (titles.empty()) return SoakAction{"wait", {}}.Set("ms", 50);
    const QString& title = titles[LeastUsed(titles)];
    ++uses[title];
    return SoakAction{"menu-open", {}}.Set("title", title.toStdString());
}

SoakAction ActionChooser::UndoOrRedo(SoakWindow& window)
{
    QWidget* main = window.Frame();
    CAppForm* form = window.Frame()->Form();
    switch (random.Weighted({45, 20, 10, 15, 10})) {
    case 0: return Key(form, main, "Ctrl+Z", true);
    case 1: return Key(form, main, "Ctrl+Y", true);
    case 2: return Key(form, main, "Ctrl+Shift+Z", true);
    default: {
        const int id = random.Chance(0.6) ? IDC_UNDO : IDC_REDO;
        auto* button = form->findChild<QAbstractButton*>(IdName(id));
        if (button == nullptr || !Usable(button)) return Key(form, main, "Ctrl+Z", true);
        return Click(button, main, button->rect().center());
    }
    }
}

SoakAction ActionChooser::AnyKey(SoakWindow& window)
{
    QWidget* main = window.Frame();
    QString sequence = random.Chance(0.7)
                           ? random.Pick(shortcuts)
                           : QString::fromLatin1(kOtherKeys[random.Between(0, int(std::size(kOtherKeys)) - 1)]);
    if (sequence == QLatin1String(EntryOf(EditorCommand::Exit).shortcut) && !random.Chance(kRarely))
        sequence = QStringLiteral("Esc");
    // A key goes where the focus is; now and then the user first clicks the views.
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != main || random.Chance(0.25))
        return Key(window.Frame()->Form(), main, sequence, true);
    return Key(focus, main, sequence);
}

SoakAction ActionChooser::Splitter(SoakWindow& window)
{
    CAppForm* form = window.Frame()->Form();
    const int y = form->RenderWindow()->geometry().bottom() + random.Between(-2, 6);
    return SoakAction{"mouse", {}}
        .Set("target", AddressOf(form, window.Frame()).toStdString())
        .Set("op", "drag")
        .Set("b", "L")
        .Set("m", "")
        .Set("x", random.Between(1, form->width() - 2))
        .Set("y", y)
        .Set("x2", random.Between(1, form->width() - 2))
        .Set("y2", y + random.Between(-200, 200))
        .Set("n", random.Between(1, 12));
}

SoakAction ActionChooser::DropFiles()
{
    const std::vector<std::string> files = folder.Files({});
    if (files.empty()) return SoakAction{"wait", {}}.Set("ms", 50);
    std::string list = random.Pick(files);
    if (random.Chance(0.15)) list += "," + random.Pick(files);
    return SoakAction{"drop-files", {}}.Set("files", list);
}

std::string ActionChooser::Modifiers()
{
    static const char* const kModifiers[] = {"", "S", "C", "A", "SC", "CA"};
    return kModifiers[random.Weighted({50, 15, 15, 5, 10, 5})];
}

std::string ActionChooser::FieldText()
{
    switch (random.Weighted({35, 20, 15, 15, 5, 10})) {
    case 0: return std::to_string(random.Between(-5, 200));
    case 1: {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", random.Between(1, 3), random.Between(-18000, 18000) / 100.0);
        return text;
    }
    case 2:
        return std::string(kNames[random.Between(0, int(std::size(kNames)) - 1)]) +
               (random.Chance(0.5) ? std::to_string(random.Between(1, 9)) : "");
    case 3: return kJunk[random.Between(0, int(std::size(kJunk)) - 1)];
    case 4: return std::string();
    default: return std::string(size_t(random.Between(40, 300)), char('0' + random.Between(0, 9)));
    }
}

size_t ActionChooser::LeastUsed(const std::vector<QString>& items)
{
    std::vector<double> weights;
    for (const QString& item : items) weights.push_back(1.0 / (1.0 + uses[item]));
    return random.Weighted(weights);
}

}  // namespace m3d::soak
