#include "app/MirroredNameDialog.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/InterfaceTranslation.h"
#include "view/WindowLayout.h"
#include "app/PartCommandDialogs.h"
#include "editor/EditorSession.h"
#include "editor/PartCommands.h"

#include <QLineEdit>
#include <QMessageBox>

namespace {

// Layout in dialog units.
constexpr int kWidth = 186, kHeight = 48;
constexpr int kEditLeft = 7, kEditTop = 7, kEditWidth = 172, kEditHeight = 14;
constexpr int kButtonTop = 27, kButtonWidth = 50, kButtonHeight = 14;
constexpr int kOkLeft = 75, kCancelLeft = 129;

}  // namespace

MirroredNameDialog::MirroredNameDialog(EditorSession& session, QWidget* parent)
    : QDialog(parent), session(session), name(new QLineEdit(this))
{
    SetControlId(this, IDD_MIRRORED_NAME);
    setWindowTitle(tr("オブジェクト名入力"));
    setFixedSize(DialogUnitsToPixelsX(kWidth), DialogUnitsToPixelsY(kHeight));

    SetControlId(name, IDC_MIRRORED_NAME);
    name->setAccessibleName(tr("オブジェクト名"));
    PlaceInDialogUnits(name, {kEditLeft, kEditTop, kEditWidth, kEditHeight});
    name->setText(QString::fromStdString(MirroredPartDefaultName(session)));
    name->selectAll();

    AddOkCancelButtons(this, tr("決定"), {kOkLeft, kButtonTop, kButtonWidth, kButtonHeight},
                       {kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight});
}

void MirroredNameDialog::accept()
{
    const Scene& scene = session.GetScene();
    QString message;
    switch (AddMirroredPart(session, name->text().toStdString())) {
    case MIRRORED_PART_ADDED:
    case MIRRORED_PART_NOTHING_SELECTED: QDialog::accept(); return;
    case MIRRORED_NAME_TAKEN: message = CoreText(MIRRORED_NAME_TAKEN_TEXT); break;
    case MIRRORED_NAME_INVALID: message = CoreText(MIRRORED_NAME_INVALID_TEXT); break;
    case MIRRORED_FILE_EXISTS: message = CoreText(MIRRORED_FILE_EXISTS_TEXT); break;
    case MIRRORED_FILE_NOT_WRITTEN: ShowFileError(this, scene.lastSaveError); return;
    case MIRRORED_FILE_NOT_READ: ShowFileError(this, scene.lastLoadError); return;
    }
    QMessageBox::warning(this, CoreText(MIRRORED_NAME_TAKEN_CAPTION), message);
    name->setFocus();
}
