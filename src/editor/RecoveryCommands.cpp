#include "editor/RecoveryCommands.h"

#include "editor/Autosave.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "scene/SnapshotRestore.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

namespace m3d {

bool RestoreSnapshotCommand(EditorSession& session, UserPrompt& prompt, RecoveryFolder& folder, const std::string& id,
                            Autosave* autosave)
{
    DocumentSnapshot snapshot;
    if (Outcome read = folder.Read(id, snapshot); !read) {
        prompt.ShowMessage(read.Message(), UiText("core", "Error"));
        return false;
    }
    if (!AskSaveBeforeOpening(session, prompt)) return false;
    const ProjectLoad load = RestoreSnapshot(session.GetScene(), snapshot, folder.Path() + "/" + id);
    if (load.sceneReplaced) {
        std::optional<FileState> onDisk;
        if (!snapshot.info.originalPath.empty())
            onDisk = FileState{snapshot.info.originalSize, snapshot.info.originalModified};
        TakeLoadedDocument(session, onDisk, false);
        if (autosave) autosave->SnapshotSoon(snapshot.info.documentId);
    }
    if (!load.outcome) prompt.ShowMessage(load.outcome.Message(), UiText("core", "Error"));
    return load.sceneReplaced;
}

}  // namespace m3d
