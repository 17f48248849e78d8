#include "app/PartCommandDialogs.h"

#include "app/InterfaceTranslation.h"
#include "app/MirroredNameDialog.h"
#include "app/SymmetryDialog.h"
#include "editor/EditorSession.h"
#include "editor/PartCommands.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

// The chosen object file's full path; "" on Cancel. Starts in the folder of
// the last object file added.
std::string AskObjectFile(EditorSession& session, QWidget* parent, const char* title)
{
    // The description names both patterns already, but the file dialog reads
    // the patterns from the last parentheses only, and separated by spaces.
    const QString filter = CoreText(OBJECT_FILE_FILTER_NAME) + QStringLiteral(" (") +
                           QString::fromUtf8(OBJECT_FILE_PATTERN).replace(';', ' ') + QStringLiteral(")");
    QFileDialog dialog(parent, CoreText(title), QString::fromStdString(session.GetScene().addObjectDirectory),
                       filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

void ShowFileError(QWidget* parent, const std::string& text)
{
    QMessageBox::warning(parent, QCoreApplication::translate("PartCommandDialogs", "Error"), QString::fromStdString(text));
}

void AddObjectFromDialog(EditorSession& session, QWidget* parent)
{
    const std::string path = AskObjectFile(session, parent, ADD_OBJECT_DIALOG_TITLE);
    if (path.empty()) return;
    if (!AddObject(session, path)) ShowFileError(parent, session.GetScene().lastLoadError);
}

void SwapObjectFromDialog(EditorSession& session, QWidget* parent)
{
    if (session.CurrentPart() < 0) return;
    const std::string path = AskObjectFile(session, parent, SWAP_OBJECT_DIALOG_TITLE);
    SwapCurrentObject(session, path);
    if (!path.empty() && !session.GetScene().lastLoadError.empty())
        ShowFileError(parent, session.GetScene().lastLoadError);
}

void AddMirroredPartFromDialog(EditorSession& session, QWidget* parent)
{
    if (session.CurrentPart() < 0) return;
    MirroredNameDialog dialog(session, parent);
    dialog.exec();
}

void EditSymmetry(EditorSession& session, QWidget* parent)
{
    SymmetryDialog dialog(session, parent);
    dialog.exec();
}
