#include "app/ExportGltfDialog.h"

#include "anim/ExportLengthScale.h"
#include "app/ExportPathDialog.h"
#include "app/ExportScaleDialog.h"
#include "app/QtUserPrompt.h"
#include "editor/EditorSession.h"
#include "editor/ModelHeight.h"
#include "editor/OptionCommands.h"
#include "io/PathLookup.h"
#include "scene/Scene.h"
#include "text/UiText.h"

namespace m3d {

void ExportGltfFromDialog(EditorSession& session, std::string& directory, QWidget* parent)
{
    if (const char* refusal = ExportGltfRefusal(session.GetScene())) {
        ShowExportMessage(parent, kExportGltfCaption, UiText("core", refusal), QMessageBox::Information);
        return;
    }
    const Scene& scene = session.GetScene();
    GltfChoices choices;
    choices.lengthScale = DefaultExportScale(scene.metresPerUnit, kGltfMetresPerUnit);
    if (!AskExportScale(QString::fromStdString(UiText("core", kExportGltfCaption)), choices.lengthScale,
                        ModelHeight(scene), kGltfMetresPerUnit, parent, &choices.bakeEveryFrame))
        return;
    const std::string path =
        AskExportPath(kExportGltfCaption, ExportDialogStartOf(session.GetScene(), directory, ".glb"),
                      QT_TRANSLATE_NOOP("ExportPathDialog", "glTF(*.glb *.gltf)|*.glb *.gltf||"), "glb", parent);
    if (path.empty()) return;
    // The file dialog has asked about replacing the file; the export asks
    // about read-only files and about files beside it in one question.
    QtUserPrompt prompt(parent);
    const ExportGltfResult result = ExportGltfCommand(session, path, prompt, choices);
    if (!result.written) {
        // A No to the question, and a cancel, need no message.
        if (!result.cancelled && !result.declined)
            ShowExportMessage(parent, kExportGltfCaption, result.message, QMessageBox::Warning);
        return;
    }
    directory = DirectoryOf(path);
    const std::string warning = ExportWarning(result.textureProblems, result.images);
    const std::string deviation = BakeDeviationText(result.baked);
    ShowExportMessage(parent, kExportGltfCaption,
                      ExportDoneMessage(path, warning) + (deviation.empty() ? "" : "\n" + deviation),
                      warning.empty() ? QMessageBox::Information : QMessageBox::Warning);
}

}  // namespace m3d
