#pragma once

#include "editor/CommandState.h"
#include "editor/EditorEvents.h"

#include <QFrame>

#include <vector>

class QPushButton;
class EditorSession;

// The parts panel: the five buttons of the "Parts" group (add, delete, swap,
// add mirrored, symmetry). Each runs the same command as its Parts menu item
// and is enabled when the session can run that command now.
class PartsPanel : public QFrame {
    Q_OBJECT
public:
    PartsPanel(EditorSession& session, QWidget* parent);

private:
    void RefreshButtons();

    struct Button {
        QPushButton* widget;
        EditorCommand command;
    };
    EditorSession& session;
    std::vector<Button> buttons;
    EditorSubscription subscription;
};
