#pragma once

#include <string>

class EditorSession;
class UserPrompt;

// The File menu's decisions; every question and message goes through prompt.

// Asks "現在のデータは失われます。よろしいですか？" ("新規作成"); true for Yes.
bool AskDiscardCurrentData(UserPrompt& prompt);
// "新規作成": asks "現在のデータは失われます。よろしいですか？"; on Yes the
// scene is cleared (no current Motion, frame 0). The undo history starts
// again from the pose shown either way. The project's path stays, so a later
// Save goes to the previous project.
void NewProject(EditorSession& session, UserPrompt& prompt);
// Saves to projectPath after asking "%sは存在します。上書きしますか？" when a
// non-empty file is there; nothing when there is no projectPath or on No.
void SaveWithPrompt(EditorSession& session, UserPrompt& prompt);
// Asks for a path, then saves there; nothing on cancel.
void SaveAs(EditorSession& session, UserPrompt& prompt);
// "上書き保存": SaveWithPrompt when the project has a path, SaveAs otherwise;
// then the title is rebuilt.
void SaveCommand(EditorSession& session, UserPrompt& prompt);
// "名前を付けて保存": SaveAs, then the title is rebuilt.
void SaveAsCommand(EditorSession& session, UserPrompt& prompt);
// Replaces the scene with the project at path (LoadProject); when the scene
// was replaced, the last Motion becomes current at frame 0 and is shown, the
// undo history restarts, the title is rebuilt and the views are fitted to the
// model. Returns LoadProject's result. The old scene's textures are released
// with it.
int OpenProject(EditorSession& session, const std::string& path);
// Before the main window closes: with at least one Motion and one Part, asks
// "現在のデータを保存しますか？" and on Yes saves as SaveCommand does. The
// window closes whatever happens.
void AskSaveBeforeClosing(EditorSession& session, UserPrompt& prompt);
