#pragma once

#include "editor/EditorCommand.h"

#include <span>
#include <string>
#include <string_view>

namespace m3d {

class CommandHost;
class EditorSession;

// What a command needs before it can run.
struct CommandNeeds {
    bool currentPart = false;  // a Part is selected
    bool notPlaying = false;   // locked while a Motion plays back
    // Acts on the pose drag the keys started, and only while one is on. Any
    // other command ends such a drag as confirmed before it runs.
    bool keyDrag = false;
    // Acts on any pose drag under way (by the keys or an IK drag), and only
    // while one is on.
    bool anyDrag = false;
};

// The menus commands sit in; a command without one is reached by its key or
// a panel's control.
enum class CommandMenu {
    None,
    File,
    Export,
    Preferences,
    Parts,
    Ik,
    Option,
    Extra,
    View,
    Motion,
    Interpolation,
    NewKeys,
    Help
};

// A menu: its title and the menu it opens from (None: the menu bar).
struct CommandMenuEntry {
    CommandMenu menu;
    CommandMenu parent;
    const char* title;  // translatable ("core")
};

// Where a command runs: the session, the program's dialogs and questions,
// and the value a control hands over (the Motion chosen in the list, the
// frame rate, the check box's state).
struct CommandContext {
    EditorSession& session;
    CommandHost& host;
    int argument = 0;
};

// One command of the program. The window makes one action of each entry,
// from which its menu item, panel button, keys and enabled state all come;
// the command line runs the batch entries by name.
struct CommandEntry {
    EditorCommand command;
    // Its name on the command line and for tools ("mirror-motion").
    const char* name;
    // The menu command's number (MenuCommandIds.h); 0 without one.
    int id;
    CommandMenu menu;
    bool separatorBefore;
    // The menu text, or what the command is called where it has no menu
    // item (tool tips); translatable ("core").
    const char* text;
    // Keys in portable text ("Ctrl+Shift+S"), several separated by "; ".
    const char* shortcut;
    // Name of the undo step the command records; nullptr when it changes
    // neither the document nor the pose. Translatable ("core").
    const char* undoLabel;
    CommandNeeds needs;
    void (*run)(CommandContext& context);
    // Whether the command line's apply can run it on a loaded project.
    bool batch;
    // Whether its keys act only while the main window itself has the keyboard
    // focus: a panel's field, list or tree keeps keys such as the arrows,
    // Space, Home and End for itself.
    bool keysOnMainWindowOnly = false;
    // For a switch or a choice: whether its menu item shows checked now;
    // nullptr for a plain command.
    bool (*checked)(const EditorSession& session) = nullptr;
    // A second menu that lists the command too (None: only menu); it must
    // open earlier in menu order than the command's own menu item comes.
    CommandMenu alsoIn = CommandMenu::None;
};

// Every command, in menu order.
std::span<const CommandEntry> Commands();
// The menus, in menu-bar order (a submenu after its parent).
std::span<const CommandMenuEntry> CommandMenus();
// The entry of command (every command has one).
const CommandEntry& EntryOf(EditorCommand command);
// The entry named name; nullptr when none is.
const CommandEntry* FindCommand(std::string_view name);
// The translated undo label of command ("" when it records none).
std::string UndoLabelOf(EditorCommand command);

// Runs command as its menu item or button does: nothing when it cannot run
// now (CanRun). A pose drag under way is confirmed first, unless command acts on it.
void RunCommand(EditorCommand command, EditorSession& session, CommandHost& host, int argument = 0);

}  // namespace m3d
