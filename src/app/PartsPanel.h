#pragma once

#include <QFrame>

namespace m3d {

class CommandActions;

// The parts panel: the five buttons of the "Parts" group (add, delete, swap,
// add mirrored, symmetry). Each runs its Parts menu item's action and is
// enabled with it.
class PartsPanel : public QFrame {
    Q_OBJECT
public:
    PartsPanel(CommandActions& actions, QWidget* parent);
};

}  // namespace m3d
