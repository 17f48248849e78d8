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

#include <QCheckBox>
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

// The scale of the model's lengths and whether images outside its folder are read.
std::optional<ModelImportOptions> AskImportOptions(QWidget* parent)
{
    ModelImportOptions options;
    FieldDialog dialog(
        IDD_IMPORT_MODEL, QCoreApplication::translate("ImportModelDialog", "モデルを読み込む"), IDC_IMPORT_SCALE,
        QCoreApplication::translate("ImportModelDialog", "長さの倍率"),
        [&options](const std::string& text) {
            return CheckFloatField(text, kMinModelScale, kMaxModelScale, options.scale);
        },
        parent);
    dialog.Field()->setText(QStringLiteral("1"));
    QCheckBox* outside = dialog.AddCheckBox(
        IDC_IMPORT_OUTSIDE_IMAGES, QCoreApplication::translate("ImportModelDialog", "フォルダーの外の画像も読み込む"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    options.outsideImagesAllowed = outside->isChecked();
    return options;
}

}  // namespace

void ImportModelFromDialogs(EditorSession& session, std::string& directory, UserPrompt& prompt, QWidget* parent)
{
    const std::string path = AskModelFile(directory, parent);
    if (path.empty()) return;
    directory = DirectoryOf(path);
    std::optional<ModelImportOptions> options = AskImportOptions(parent);
    if (!options) return;
    options->framesPerSecond = session.Playback().FramesPerSecond();
    const Expected<ModelImport> import = ImportModelCommand(session, path, *options);
    if (!import) {
        ShowFileError(parent, import.Status().Message());
        return;
    }
    ShowModelImportNotes(*import, prompt);
}

}  // namespace m3d
