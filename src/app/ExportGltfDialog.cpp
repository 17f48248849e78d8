#include "app/ExportGltfDialog.h"

#include "app/ExportPathDialog.h"
#include "editor/EditorSession.h"
#include "editor/OptionCommands.h"
#include "io/PathLookup.h"

void ExportGltfFromDialog(EditorSession& session, std::string& directory, int framesPerSecond, QWidget* parent)
{
    if (const char* refusal = ExportGltfRefusal(session.GetScene())) {
        ShowExportMessage(parent, EXPORT_GLTF_CAPTION, refusal, QMessageBox::Information);
        return;
    }
    const std::string path = AskExportPath(directory, "glTF(*.glb *.gltf)|*.glb *.gltf||", "glb", parent);
    if (path.empty()) return;
    const ExportGltfResult result = ExportGltfCommand(session, path, framesPerSecond);
    if (!result.written) {
        ShowExportMessage(parent, EXPORT_GLTF_CAPTION, result.message, QMessageBox::Warning);
        return;
    }
    directory = DirectoryOf(path);
}
