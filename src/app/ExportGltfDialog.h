#pragma once

#include <string>

class QWidget;

namespace m3d {

class EditorSession;

// "glTF出力": the length scale (from the project's unit into metres:
// DefaultExportScale), the save dialog (.glb or .gltf) starting in directory,
// then the export at the session's playback rate. A refusal or a failed write is shown
// in a message box; after a written file directory becomes its folder.
void ExportGltfFromDialog(EditorSession& session, std::string& directory, QWidget* parent);

}  // namespace m3d
