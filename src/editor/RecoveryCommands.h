#pragma once

#include "editor/RecoveryFolder.h"

#include <string>

namespace m3d {

class Autosave;
class EditorSession;
class UserPrompt;

// Replaces the session's document with the snapshot id of folder
// (RestoreSnapshot) after asking to save unsaved work (AskSaveBeforeOpening):
// the restored document keeps the path of the project it came from, counts
// as unsaved, and a save over that project asks first when the file changed
// since the snapshot's document was opened or saved. autosave (may be null)
// then writes a snapshot of it soon and removes the ones it came from.
// What could not be read is shown through prompt; true when the document
// was replaced.
bool RestoreSnapshotCommand(EditorSession& session, UserPrompt& prompt, RecoveryFolder& folder, const std::string& id,
                            Autosave* autosave);

}  // namespace m3d
