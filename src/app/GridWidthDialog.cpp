#include "app/GridWidthDialog.h"

#include "app/CAppForm.h"
#include "app/CommandIds.h"
#include "app/FieldDialog.h"
#include "app/UpDownControl.h"
#include "editor/EditorSession.h"
#include "editor/OptionCommands.h"

#include <QCoreApplication>
#include <QLineEdit>

void ChangeGridWidth(CAppForm& form)
{
    EditorSession& session = form.Session();
    const int current = session.Views().gridWidth;
    int width = current;
    FieldDialog dialog(
        IDD_GRID_WIDTH, QCoreApplication::translate("GridWidthDialog", "グリッドの幅を変更"), IDC_GRID_WIDTH, QCoreApplication::translate("GridWidthDialog", "グリッドの幅"),
        [&width](const std::string& text) {
            return CheckIntegerField(text, ViewState::kGridWidthMin, ViewState::kGridWidthMax, width);
        },
        &form);
    dialog.Field()->setText(QString::number(current));
    auto* updown = new UpDownControl(ViewState::kGridWidthMin, ViewState::kGridWidthMax, &dialog);
    updown->setAccessibleName(QCoreApplication::translate("GridWidthDialog", "グリッドの幅の増減"));
    dialog.AttachUpDown(updown, IDC_GRID_WIDTH_SPIN, current);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    if (CloseGridWidthDialog(session, confirmed, width) == GRID_WIDTH_STORED) form.RebuildGrid();
}
