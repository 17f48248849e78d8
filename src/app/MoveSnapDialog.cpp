#include "app/MoveSnapDialog.h"

#include "app/CommandIds.h"
#include "app/FieldDialog.h"
#include "editor/FieldRules.h"
#include "editor/PosingState.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace m3d {

std::optional<float> AskMoveSnap(float current, QWidget* parent)
{
    float step = current;
    FieldDialog dialog(
        IDD_MOVE_SNAP, QCoreApplication::translate("MoveSnapDialog", "移動のスナップ"), IDC_MOVE_SNAP,
        QCoreApplication::translate("MoveSnapDialog", "幅 (0=グリッド)"),
        [&step](const std::string& text) { return CheckFloatField(text, 0.0f, PosingState::kMaxMoveSnap, step); },
        parent);
    dialog.Field()->setText(QString::fromStdString(FloatFieldText(current)));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return step;
}

}  // namespace m3d
