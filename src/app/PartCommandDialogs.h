#pragma once

#include <QString>

#include <string>

class QWidget;

namespace m3d {

// The object-file dialog under title (already translated), starting in
// folder; the chosen file's full path, "" on Cancel.
std::string AskObjectFile(const std::string& folder, const std::string& title, QWidget* parent);
// An open dialog for one existing file under title with the name filters
// filter ("Name (*.a *.b);;Other (*.c)"), starting in folder; the chosen
// file's full path, "" on Cancel.
std::string AskExistingFile(const std::string& folder, const QString& title, const QString& filter, QWidget* parent);
// A file that could not be read or written: the message names it and says why.
void ShowFileError(QWidget* parent, const std::string& text);

}  // namespace m3d
