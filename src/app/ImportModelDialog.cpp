#include "app/ImportModelDialog.h"

#include "app/ImportOptionsDialog.h"
#include "app/PartCommandDialogs.h"
#include "editor/EditorSession.h"
#include "editor/ModelImportCommands.h"
#include "editor/PlaybackController.h"
#include "foreign/ForeignFormats.h"
#include "foreign/ForeignReaderProcess.h"
#include "io/PathLookup.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace m3d {

namespace {

std::string AskModelFile(const std::string& directory, QWidget* parent)
{
    const QString title = QCoreApplication::translate("ImportModelDialog", "モデルを読み込む");
    const QString filter = QCoreApplication::translate("ImportModelDialog", "他のソフトのモデル") +
                           QStringLiteral(" (") + QString::fromUtf8(ForeignFilePattern()) + QStringLiteral(")");
    return AskExistingFile(directory, title, filter, parent);
}

}  // namespace

void ImportModelFromDialogs(EditorSession& session, std::string& directory, UserPrompt& prompt, QWidget* parent)
{
    const std::string path = AskModelFile(directory, parent);
    if (path.empty()) return;
    directory = DirectoryOf(path);
    ForeignModel model;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const Outcome read = ReadForeignModelInChild(path, model);
    QGuiApplication::restoreOverrideCursor();
    if (!read) {
        ShowFileError(parent, read.Message());
        return;
    }
    const int framesPerSecond = session.Playback().FramesPerSecond();
    ImportOptionsDialog dialog(model, framesPerSecond, session.GetScene().metresPerUnit, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    const Expected<ModelImport> import = ImportReadModelCommand(session, path, std::move(model), dialog.Options());
    if (!import) {
        ShowFileError(parent, import.Status().Message());
        return;
    }
    ShowModelImportNotes(*import, prompt);
}

}  // namespace m3d
