#include "app/ExportGltfDialog.h"

#include "app/ExportPathDialog.h"
#include "app/QtUserPrompt.h"
#include "editor/EditorSession.h"
#include "editor/OptionCommands.h"
#include "io/PathLookup.h"
#include "scene/SaveTargets.h"

void ExportGltfFromDialog(EditorSession& session, std::string& directory, int framesPerSecond, QWidget* parent)
{
    if (const char* refusal = ExportGltfRefusal(session.GetScene())) {
        ShowExportMessage(parent, EXPORT_GLTF_CAPTION, refusal, QMessageBox::Information);
        return;
    }
    const std::string path = AskExportPath(directory, "glTF(*.glb *.gltf)|*.glb *.gltf||", "glb", parent);
    if (path.empty()) return;
    // The file dialog has asked about replacing the file; a read-only one is asked about again.
    QtUserPrompt prompt(parent);
    if (!AskReplaceReadOnly(CheckSaveTargets({path}).readOnly, prompt)) return;
    const ExportGltfResult result = ExportGltfCommand(session, path, framesPerSecond, true);
    if (!result.written) {
        ShowExportMessage(parent, EXPORT_GLTF_CAPTION, result.message, QMessageBox::Warning);
        return;
    }
    directory = DirectoryOf(path);
}
