#include "app/ExportXDialogs.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/FieldDialog.h"
#include "app/QtUserPrompt.h"
#include "app/UpDownControl.h"
#include "editor/EditorSession.h"
#include "editor/OptionCommands.h"
#include "io/PathLookup.h"
#include "scene/SaveTargets.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace {

const char* const kFilter = "xﾌｧｲﾙ(*.x)|*.x||";

void ShowExportMessage(QWidget* parent, const std::string& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromUtf8(EXPORT_X_CAPTION), QString::fromStdString(text), QMessageBox::Ok, parent);
    box.exec();
}

// The time scale dialog on the current factor; false on Cancel.
bool AskTimeScaleFactor(int& factor, QWidget* parent)
{
    int typed = factor;
    FieldDialog dialog(
        IDD_EXPORT_XFILE, QStringLiteral("Export XFile"), IDC_TIME_SCALE_FACTOR, QStringLiteral("Time Scale Factor"),
        [&typed](const std::string& text) {
            return CheckIntegerField(text, MIN_TIME_SCALE_FACTOR, MAX_TIME_SCALE_FACTOR, typed);
        },
        parent);
    auto* label = new QLabel(QStringLiteral("Time Scale Factor"), &dialog);
    PlaceInDialogUnits(label, {10, 5, 80, 9});
    label->setBuddy(dialog.Field());
    dialog.Field()->setText(QString::number(factor));
    auto* updown = new UpDownControl(MIN_TIME_SCALE_FACTOR, MAX_TIME_SCALE_FACTOR, &dialog);
    updown->setAccessibleName(QStringLiteral("Time Scale Factor の増減"));
    dialog.AttachUpDown(updown, IDC_TIME_SCALE_FACTOR_SPIN, factor);
    if (dialog.exec() != QDialog::Accepted) return false;
    factor = typed;
    return true;
}

// The file to write; "" on Cancel. The dialog starts in directory, which also
// becomes the process's current folder.
std::string AskExportPath(const std::string& directory, QWidget* parent)
{
    QDir::setCurrent(QString::fromStdString(directory));
    QFileDialog dialog(parent, QString(), QString::fromStdString(directory), QtUserPrompt::DialogFilter(kFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("x"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

void ExportXFromDialogs(EditorSession& session, std::string& directory, int& timeScaleFactor, QWidget* parent)
{
    if (const char* refusal = ExportXRefusal(session.GetScene())) {
        ShowExportMessage(parent, refusal, QMessageBox::Information);
        return;
    }
    if (!AskTimeScaleFactor(timeScaleFactor, parent)) return;
    const std::string path = AskExportPath(directory, parent);
    if (path.empty()) return;
    // The file dialog has asked about replacing the file; a read-only one is asked about again.
    QtUserPrompt prompt(parent);
    if (!AskReplaceReadOnly(CheckSaveTargets({path}).readOnly, prompt)) return;
    const ExportXResult result = ExportXCommand(session, path, timeScaleFactor, true);
    if (!result.written) {
        ShowExportMessage(parent, result.message, QMessageBox::Warning);
        return;
    }
    directory = DirectoryOf(path);
    if (!result.textureErrors.empty()) ShowExportMessage(parent, result.textureErrors, QMessageBox::Warning);
}
