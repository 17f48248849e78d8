#pragma once

#include "SoakAction.h"
#include "SoakFolder.h"

#include <QString>

#include <map>
#include <string>

class QWidget;

namespace m3d::soak {

class SoakWindow;

// Plays steps on the live window as the user's mouse and keyboard would:
// mouse and wheel events on the views and the timeline, clicks through the
// window system on buttons, lists, menus and dialogs, typed text and keys
// (the shortcuts included), file names typed into the file dialogs. Two
// things the window system cannot be driven through under a virtual
// display are played at the widget that receives them: a drop from the
// desktop (a drop event on the form) and a Part dragged in the parts tree
// (the tree's own drop, after the check its drag would make).
class ActionPlayer {
public:
    ActionPlayer(SoakWindow& window, const SoakFolder& folder);

    // Plays action; "" when it was played, else why it was left out (its
    // target is gone, a dialog is in the way...).
    std::string Play(const SoakAction& action);
    // How often each menu command (by its action's name) was chosen from a menu.
    const std::map<QString, int>& MenuCommandsChosen() const { return menuCommands; }

private:
    std::string Mouse(const SoakAction& action);
    std::string Click(const SoakAction& action);
    std::string Type(const SoakAction& action);
    std::string Key(const SoakAction& action);
    std::string MenuOpen(const SoakAction& action);
    std::string MenuItem(const SoakAction& action);
    std::string PopupRow(const SoakAction& action);
    std::string Tree(const SoakAction& action);
    std::string TreeDrop(const SoakAction& action);
    std::string File(const SoakAction& action);
    std::string FileCancel();
    std::string RejectDialog();
    std::string Colour(const SoakAction& action);
    std::string DropFiles(const SoakAction& action);
    std::string Reopen(const SoakAction& action);
    // The action's target, when nothing in front of it (a modal dialog or a
    // popup it is not in) would keep the user's input from it.
    QWidget* Reachable(const SoakAction& action, std::string& why);
    void ActivateMainWindow();

    SoakWindow& window;
    const SoakFolder& folder;
    std::map<QString, int> menuCommands;
};

}  // namespace m3d::soak
