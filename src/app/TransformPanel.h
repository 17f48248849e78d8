#pragma once

#include "editor/EditorCommand.h"
#include "editor/EditorEvents.h"
#include "editor/TransformPanelControls.h"

#include <QWidget>

#include <array>
#include <utility>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace m3d {

class CommandActions;
class EditorSession;

// The transform panel (template 207): the grid plane switches, the current
// Part's rotation and position in twelve fields with a "Set" per row,
// "左右連動", "Undo", "Redo" and "視点調整". It shows the session's state and
// hands every press to its command's action; the fields are refilled from the
// session whenever the pose or the selection changes.
class TransformPanel : public QWidget {
    Q_OBJECT
public:
    TransformPanel(EditorSession& session, CommandActions& actions, QWidget* parent);

    // The twelve fields from the session's panel state.
    void ShowFields();
    // The grid plane check boxes from the view state.
    void ShowGridPlanes();
    // Reads the twelve fields into the session's panel state; a field that
    // holds no number is shown refused and false returned.
    bool ReadFields();

private:
    struct RowsGroup;
    void BuildGridGroup();
    // A "回転" or "移動" group: two rows of three fields with their "Set".
    void BuildRowsGroup(const RowsGroup& group);
    void AddCommandButton(QAbstractButton* button, int id, EditorCommand command);
    void GridPlaneClicked();
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    CommandActions& actions;
    std::array<QLineEdit*, kTransformFieldCount> fields{};
    std::array<QCheckBox*, 3> gridPlanes{};  // XY, YZ, ZX
    QCheckBox* linkLR = nullptr;
    EditorSubscription subscription;
    // The last command's fields were refused (the refused one has the focus).
    bool fieldRefused = false;
};

}  // namespace m3d
