#pragma once

#include "anim/ExportReport.h"

#include <QMessageBox>

#include <string>

class QWidget;

namespace m3d {

// The save dialog of an export, titled caption (a core text, the export's
// name): starts in start.directory (which also becomes the process's current
// folder) proposing start.fileName, offers filter ("description|pattern|...||")
// and adds defaultSuffix to a name typed without one; filter is marked with
// QT_TRANSLATE_NOOP("ExportPathDialog", ...). The file to write; "" on Cancel.
std::string AskExportPath(const char* caption, const ExportDialogStart& start, const char* filter,
                          const char* defaultSuffix, QWidget* parent);

// A message of an export, with the export's caption (a core text).
void ShowExportMessage(QWidget* parent, const char* caption, const std::string& text, QMessageBox::Icon icon);

}  // namespace m3d
