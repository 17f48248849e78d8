#pragma once

#include <string>

class QWidget;

namespace m3d {

class EditorSession;
class UserPrompt;

// "モデルを読み込む": asks for a model file of another program's format (in
// directory, which then remembers the file's folder), for the scale of its
// lengths (1 unless changed) and whether the images it names outside its
// folder are read (not unless ticked), then adds it to the open project
// (ImportModelCommand, at the playback frame rate) and tells what could not
// come over; a file that cannot be read is reported and changes nothing.
void ImportModelFromDialogs(EditorSession& session, std::string& directory, UserPrompt& prompt, QWidget* parent);

}  // namespace m3d
