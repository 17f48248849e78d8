#pragma once

#include <string>

class QWidget;

namespace m3d {

class EditorSession;
class UserPrompt;

// "モデルを読み込む": asks for a model file of another program's format (in
// directory, which then remembers the file's folder), reads it, asks how to
// bring it in (ImportOptionsDialog: its scale, its images, its animations),
// then adds it to the open project (ImportReadModelCommand, at the playback
// frame rate) and tells what could not come over; a file that cannot be read
// is reported and changes nothing.
void ImportModelFromDialogs(EditorSession& session, std::string& directory, UserPrompt& prompt, QWidget* parent);

}  // namespace m3d
