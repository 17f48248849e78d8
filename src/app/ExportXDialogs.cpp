#include "app/ExportXDialogs.h"

#include "app/CommandIds.h"
#include "app/ExportPathDialog.h"
#include "app/ExportScaleDialog.h"
#include "app/FieldDialog.h"
#include "app/QtUserPrompt.h"
#include "app/UpDownControl.h"
#include "editor/EditorSession.h"
#include "editor/ModelHeight.h"
#include "math/LengthUnit.h"
#include "editor/OptionCommands.h"
#include "io/PathLookup.h"
#include "text/UiText.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace m3d {

namespace {

const char* const kFilter = QT_TRANSLATE_NOOP("ExportPathDialog", "xﾌｧｲﾙ(*.x)|*.x||");

// The time scale dialog on the current factor; false on Cancel.
bool AskTimeScaleFactor(int& factor, QWidget* parent)
{
    int typed = factor;
    FieldDialog dialog(
        IDD_EXPORT_XFILE, QCoreApplication::translate("ExportXDialogs", "Export XFile"), IDC_TIME_SCALE_FACTOR,
        QCoreApplication::translate("ExportXDialogs", "Time Scale Factor"),
        [&typed](const std::string& text) {
            return CheckIntegerField(text, kMinTimeScaleFactor, kMaxTimeScaleFactor, typed);
        },
        parent);
    dialog.Field()->setText(QString::number(factor));
    auto* updown = new UpDownControl(kMinTimeScaleFactor, kMaxTimeScaleFactor, &dialog);
    updown->setAccessibleName(QCoreApplication::translate("ExportXDialogs", "Time Scale Factor の増減"));
    dialog.AttachUpDown(updown, IDC_TIME_SCALE_FACTOR_SPIN, factor);
    if (dialog.exec() != QDialog::Accepted) return false;
    factor = typed;
    return true;
}

}  // namespace

void ExportXFromDialogs(EditorSession& session, std::string& directory, int& timeScaleFactor, QWidget* parent)
{
    if (const char* refusal = ExportXRefusal(session.GetScene())) {
        ShowExportMessage(parent, kExportXCaption, UiText("core", refusal), QMessageBox::Information);
        return;
    }
    if (!AskTimeScaleFactor(timeScaleFactor, parent)) return;
    // An .x file has no unit of its own: the numbers go as they are unless told.
    float lengthScale = 1.0f;
    if (!AskExportScale(QString::fromStdString(UiText("core", kExportXCaption)), lengthScale,
                        ModelHeight(session.GetScene()), kUnknownLengthUnit, parent))
        return;
    const std::string path =
        AskExportPath(kExportXCaption, ExportDialogStartOf(session.GetScene(), directory, ".x"), kFilter, "x", parent);
    if (path.empty()) return;
    // The file dialog has asked about replacing the file; the export asks about a read-only one.
    QtUserPrompt prompt(parent);
    const ExportXResult result = ExportXCommand(session, path, timeScaleFactor, prompt, lengthScale);
    if (!result.written) {
        // A No to the question, and a cancel, need no message.
        if (!result.cancelled && !result.declined)
            ShowExportMessage(parent, kExportXCaption, result.message, QMessageBox::Warning);
        return;
    }
    directory = DirectoryOf(path);
    const std::string warning = ExportWarning(result.textureProblems, result.images);
    ShowExportMessage(parent, kExportXCaption, ExportDoneMessage(path, warning),
                      warning.empty() ? QMessageBox::Information : QMessageBox::Warning);
}

}  // namespace m3d
