#include "app/GridWidthDialog.h"

#include "app/CommandIds.h"
#include "app/FieldDialog.h"
#include "app/UpDownControl.h"
#include "editor/FieldRules.h"
#include "view/ViewState.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace m3d {

std::optional<int> AskGridWidth(int current, QWidget* parent)
{
    int width = current;
    FieldDialog dialog(
        IDD_GRID_WIDTH, QCoreApplication::translate("GridWidthDialog", "グリッドの幅を変更"), IDC_GRID_WIDTH,
        QCoreApplication::translate("GridWidthDialog", "グリッドの幅"),
        [&width](const std::string& text) {
            return CheckIntegerField(text, ViewState::kGridWidthMin, ViewState::kGridWidthMax, width);
        },
        parent);
    dialog.Field()->setText(QString::number(current));
    auto* updown = new UpDownControl(ViewState::kGridWidthMin, ViewState::kGridWidthMax, &dialog);
    updown->setAccessibleName(QCoreApplication::translate("GridWidthDialog", "グリッドの幅の増減"));
    dialog.AttachUpDown(updown, IDC_GRID_WIDTH_SPIN, current);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return width;
}

}  // namespace m3d
