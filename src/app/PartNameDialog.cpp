#include "app/PartNameDialog.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/InterfaceTranslation.h"
#include "view/WindowLayout.h"
#include "app/PartCommandDialogs.h"
#include "editor/EditorSession.h"
#include "editor/PartCommands.h"
#include "editor/PartTreeCommands.h"

#include <QLineEdit>
#include <QMessageBox>

namespace m3d {

namespace {

// Layout in dialog units.
constexpr int kWidth = 186, kHeight = 48;
constexpr int kEditLeft = 7, kEditTop = 7, kEditWidth = 172, kEditHeight = 14;
constexpr int kButtonTop = 27, kButtonWidth = 50, kButtonHeight = 14;
constexpr int kOkLeft = 75, kCancelLeft = 129;

}  // namespace

PartNameDialog::PartNameDialog(EditorSession& session, Purpose purpose, QWidget* parent)
    : QDialog(parent), session(session), purpose(purpose), name(new QLineEdit(this))
{
    SetControlId(this, IDD_MIRRORED_NAME);
    setWindowTitle(tr("オブジェクト名入力"));
    setFixedSize(DialogUnitsToPixelsX(kWidth), DialogUnitsToPixelsY(kHeight));

    SetControlId(name, IDC_MIRRORED_NAME);
    name->setAccessibleName(tr("オブジェクト名"));
    PlaceInDialogUnits(name, {kEditLeft, kEditTop, kEditWidth, kEditHeight});
    const Part* current = session.GetScene().PartAt(session.CurrentPart());
    const std::string offered = purpose == Purpose::AddMirrored ? MirroredPartDefaultName(session)
                                : current                       ? current->baseName
                                                                : std::string();
    name->setText(QString::fromStdString(offered));
    name->selectAll();

    AddOkCancelButtons(this, tr("決定"), {kOkLeft, kButtonTop, kButtonWidth, kButtonHeight},
                       {kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight});
}

void PartNameDialog::accept()
{
    if (purpose == Purpose::AddMirrored ? AddMirrored() : Rename())
        QDialog::accept();
    else
        name->setFocus();
}

bool PartNameDialog::AddMirrored()
{
    QString message;
    const std::string typed = name->text().toStdString();
    const MirroredPartOutcome added = AddMirroredPart(session, typed);
    switch (added.result) {
    case MirroredPartResult::Added:
    case MirroredPartResult::NothingSelected: return true;
    case MirroredPartResult::NameTaken:
    case MirroredPartResult::NameInvalid:
    case MirroredPartResult::NameNotSavable:
    case MirroredPartResult::NameFolded:
        message = QString::fromStdString(PartNameProblemMessage(CheckPartName(session.GetScene(), typed, -1), typed));
        break;
    case MirroredPartResult::FileExists: message = CoreText(kMirroredFileExistsText); break;
    case MirroredPartResult::FileNotWritten:
    case MirroredPartResult::FileNotRead: ShowFileError(this, added.file.Message()); return false;
    }
    QMessageBox::warning(this, CoreText(kMirroredNameTakenCaption), message);
    return false;
}

bool PartNameDialog::Rename()
{
    const std::string typed = name->text().toStdString();
    const PartNameProblem problem = RenameCurrentPart(session, typed);
    if (problem == PartNameProblem::None) return true;
    QMessageBox::warning(this, CoreText(kMirroredNameTakenCaption),
                         QString::fromStdString(PartNameProblemMessage(problem, typed)));
    return false;
}

}  // namespace m3d
