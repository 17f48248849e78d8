#include "app/ImportModelDialog.h"

#include "app/CommandIds.h"
#include "app/FieldDialog.h"
#include "app/PartCommandDialogs.h"
#include "editor/EditorSession.h"
#include "editor/FieldRules.h"
#include "editor/ModelImportCommands.h"
#include "foreign/ForeignFormats.h"
#include "io/PathLookup.h"
#include "scene/ModelScale.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace m3d {

namespace {

std::string AskModelFile(const std::string& directory, QWidget* parent)
{
    const QString title = QCoreApplication::translate("ImportModelDialog", "モデルを読み込む");
    const QString filter = QCoreApplication::translate("ImportModelDialog", "他のソフトのモデル") +
                           QStringLiteral(" (") + QString::fromUtf8(ForeignFilePattern()) + QStringLiteral(")");
    return AskExistingFile(directory, title, filter, parent);
}

std::optional<float> AskImportScale(QWidget* parent)
{
    float scale = 1.0f;
    FieldDialog dialog(
        IDD_IMPORT_MODEL, QCoreApplication::translate("ImportModelDialog", "モデルを読み込む"), IDC_IMPORT_SCALE,
        QCoreApplication::translate("ImportModelDialog", "長さの倍率"),
        [&scale](const std::string& text) { return CheckFloatField(text, kMinModelScale, kMaxModelScale, scale); },
        parent);
    dialog.Field()->setText(QStringLiteral("1"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return scale;
}

}  // namespace

void ImportModelFromDialogs(EditorSession& session, std::string& directory, UserPrompt& prompt, QWidget* parent)
{
    const std::string path = AskModelFile(directory, parent);
    if (path.empty()) return;
    directory = DirectoryOf(path);
    const std::optional<float> scale = AskImportScale(parent);
    if (!scale) return;
    const ModelImportOptions options{*scale, session.Playback().FramesPerSecond()};
    const Expected<ModelImport> import = ImportModelCommand(session, path, options);
    if (!import) {
        ShowFileError(parent, import.Status().Message());
        return;
    }
    ShowModelImportNotes(*import, prompt);
}

}  // namespace m3d
