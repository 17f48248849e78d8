#pragma once

#include "scene/TreeChange.h"

#include <string>
#include <variant>

namespace m3d {

// What changed in the editing session, one type per kind of change. The tree
// changes (TreeItemInserted: a Part was added; TreeItemRemoved: a Part and its
// subtree went; TreeItemMoved: a Part got another parent; TreeItemRenamed;
// TreeItemChecked) come from the Scene as it makes them; the others from the
// session.

// The tree's selection changed; part is the selected Part's index (-1 for
// the root entry or none).
struct SelectionChanged {
    TreeItem item = kNoTreeItem;
    int part = -1;
};
// The pose shown changed, or the transform panel's fields were refilled from it.
struct PoseChanged {};
// Keys of Motion motion were set, deleted or rewritten.
struct MotionKeysChanged {
    int motion = -1;
};
// Motions were added, removed, renamed or resized, or another one became current.
struct MotionListChanged {
    int currentMotion = -1;
};
struct CurrentFrameChanged {
    int frame = 0;
};
// Cameras, view rectangles, grid, view settings, display switches or colours changed.
struct ViewsChanged {};
// Whether "Undo" and "Redo" can be pressed now.
struct HistoryButtonsChanged {
    bool undoEnabled = false;
    bool redoEnabled = false;
};
struct TitleChanged {
    std::string title;
};
// Playback started (true) or stopped.
struct PlayingChanged {
    bool playing = false;
};
// The playback rate or real-time playback was changed.
struct PlaybackSettingsChanged {};
// A preference of the session that menus show checked changed: the
// interpolation of new keys, whether the curve panel is shown, the gizmo's axes.
struct PreferencesChanged {};
// A pose drag (by a gizmo handle or the keys) started or ended.
struct PoseDragChanged {
    bool dragging = false;
};

using EditorEvent = std::variant<TreeItemInserted, TreeItemRemoved, TreeItemMoved, TreeItemRenamed, TreeItemChecked,
                                 SelectionChanged, PoseChanged, MotionKeysChanged, MotionListChanged,
                                 CurrentFrameChanged, ViewsChanged, HistoryButtonsChanged, TitleChanged, PlayingChanged,
                                 PlaybackSettingsChanged, PreferencesChanged, PoseDragChanged>;

}  // namespace m3d
