#pragma once

#include <string>

class QWidget;

namespace m3d {

class EditorSession;

// "Xファイル出力" as the user runs it: refuses a model without Parts or
// Motions, asks for the time scale factor (template 234), the length scale
// (ExportScaleDialog.h, 1 to begin with) and the file, exports
// and shows what failed. directory and timeScaleFactor are the remembered
// choices (settings file keys EXPORT_XFILE and TIMESCALEFACTOR): the factor
// is stored when its dialog closes with OK, the folder after a written file.
void ExportXFromDialogs(EditorSession& session, std::string& directory, int& timeScaleFactor, QWidget* parent);

}  // namespace m3d
