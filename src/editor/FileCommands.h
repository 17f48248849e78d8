#pragma once

#include "io/FileState.h"
#include "scene/ProjectFile.h"

#include <optional>
#include <string>

namespace m3d {

class EditorSession;
class UserPrompt;

// The File menu's decisions; every question and message goes through prompt.

// Asks "現在のデータは失われます。よろしいですか？" ("新規作成"); true for Yes.
bool AskDiscardCurrentData(UserPrompt& prompt);
// "新規作成": when something is unsaved, asks "現在のデータは失われます。
// よろしいですか？" first (on No nothing changes); then the scene is cleared
// (no current Motion, frame 0), the undo history starts empty and the
// project has no file (untitled): a later Save asks for a path.
void NewProject(EditorSession& session, UserPrompt& prompt);
// The save commands return true when the project file and every mesh and
// texture beside it were written (SaveProject has shown why not). A saved
// project goes first in the session's recent projects.

// Saves to projectPath after asking "%sは存在します。上書きしますか？" when a
// non-empty file is there ("%sは開いた後に変更されています。上書きしますか？"
// when it is not the file as it was opened, saved or restored from:
// EditorSession::ProjectFileAtOpen); nothing when there is no projectPath or on No.
bool SaveWithPrompt(EditorSession& session, UserPrompt& prompt);
// Asks for a path, then saves there; nothing on cancel.
bool SaveAs(EditorSession& session, UserPrompt& prompt);
// "上書き保存": SaveWithPrompt when the project has a path, SaveAs otherwise;
// then the title is rebuilt.
bool SaveCommand(EditorSession& session, UserPrompt& prompt);
// "名前を付けて保存": SaveAs, then the title is rebuilt.
bool SaveAsCommand(EditorSession& session, UserPrompt& prompt);
// The session's side of a scene just replaced by a load: the last Motion
// becomes current at frame 0 and is shown, the undo history starts empty
// with nothing unsaved (saved) or everything unsaved (a restored document),
// onDisk is what the project file was, the title is rebuilt and the views
// are framed on the whole model.
void TakeLoadedDocument(EditorSession& session, std::optional<FileState> onDisk, bool saved);
// Replaces the scene with the project at path (LoadProject); when the scene
// was replaced, the last Motion becomes current at frame 0 and is shown, the
// undo history starts empty with nothing unsaved, the title is rebuilt and
// the views are framed on the whole model (EditorSession::FitWholeModel).
// Returns LoadProject's result; a project read whole goes first in the
// session's recent projects. The old scene's textures are released with it.
[[nodiscard]] ProjectLoad OpenProject(EditorSession& session, const std::string& path, ProjectOpening opening);
// Shows through prompt what was done about an interrupted save of the
// project (ShowRecoveryNotes) and what its side file could not give.
void ShowProjectLoadNotes(const ProjectLoad& load, UserPrompt& prompt);
// OpenProject for editing, then ShowProjectLoadNotes and a message naming
// what could not be read; true when everything was read.
bool OpenProjectCommand(EditorSession& session, UserPrompt& prompt, const std::string& path);
// Before the current data is thrown away: when something is unsaved and
// there is at least one Motion and one Part, asks "現在のデータを保存しますか？"
// under caption with Yes, No and Cancel; Yes saves as SaveCommand does. True
// when the data may go: nothing to ask, No, or a save that succeeded; false
// on Cancel and when the save failed or its dialog was cancelled.
bool AskSaveBeforeDiscarding(EditorSession& session, UserPrompt& prompt, const std::string& caption);
// Before the main window closes: AskSaveBeforeDiscarding under "終了"; the
// window stays open on false.
bool AskSaveBeforeClosing(EditorSession& session, UserPrompt& prompt);
// Before another project is chosen from the File menu: AskSaveBeforeDiscarding under "開く".
bool AskSaveBeforeOpening(EditorSession& session, UserPrompt& prompt);
// Before a project of the recent list is opened: one no longer there is taken
// off the list with "「PATH」が見つかりません。最近使ったファイルの一覧から削除しました。"
// (false); otherwise AskSaveBeforeOpening.
bool ReadyToOpenRecentProject(EditorSession& session, UserPrompt& prompt, const std::string& path);

}  // namespace m3d
