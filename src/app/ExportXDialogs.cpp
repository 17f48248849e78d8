#include "app/ExportXDialogs.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/ExportPathDialog.h"
#include "app/FieldDialog.h"
#include "app/QtUserPrompt.h"
#include "app/UpDownControl.h"
#include "editor/EditorSession.h"
#include "editor/OptionCommands.h"
#include "io/PathLookup.h"
#include "scene/SaveTargets.h"

#include <QLabel>
#include <QLineEdit>

namespace {

const char* const kFilter = "xﾌｧｲﾙ(*.x)|*.x||";

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

}  // namespace

void ExportXFromDialogs(EditorSession& session, std::string& directory, int& timeScaleFactor, QWidget* parent)
{
    if (const char* refusal = ExportXRefusal(session.GetScene())) {
        ShowExportMessage(parent, EXPORT_X_CAPTION, refusal, QMessageBox::Information);
        return;
    }
    if (!AskTimeScaleFactor(timeScaleFactor, parent)) return;
    const std::string path = AskExportPath(directory, kFilter, "x", parent);
    if (path.empty()) return;
    // The file dialog has asked about replacing the file; a read-only one is asked about again.
    QtUserPrompt prompt(parent);
    if (!AskReplaceReadOnly(CheckSaveTargets({path}).readOnly, prompt)) return;
    const ExportXResult result = ExportXCommand(session, path, timeScaleFactor, true);
    if (!result.written) {
        ShowExportMessage(parent, EXPORT_X_CAPTION, result.message, QMessageBox::Warning);
        return;
    }
    directory = DirectoryOf(path);
    if (!result.textureErrors.empty()) ShowExportMessage(parent, EXPORT_X_CAPTION, result.textureErrors, QMessageBox::Warning);
}
