#pragma once

class Scene;
class UserPrompt;

// The File menu's decisions; every question and message goes through prompt.

// "新規作成": asks "現在のデータは失われます。よろしいですか？"; on Yes the
// scene is cleared. The undo history is emptied either way. The project's
// path stays, so a later Save goes to the previous project.
void NewProject(Scene& scene, UserPrompt& prompt);
// Saves to projectPath after asking "%sは存在します。上書きしますか？" when a
// non-empty file is there; nothing when there is no projectPath or on No.
void SaveWithPrompt(Scene& scene, UserPrompt& prompt);
// Asks for a path, then saves there; nothing on cancel.
void SaveAs(Scene& scene, UserPrompt& prompt);
// "上書き保存": SaveWithPrompt when the project has a path, SaveAs otherwise;
// then the title is rebuilt.
void SaveCommand(Scene& scene, UserPrompt& prompt);
// "名前を付けて保存": SaveAs, then the title is rebuilt.
void SaveAsCommand(Scene& scene, UserPrompt& prompt);
// Before the main window closes: with at least one Motion and one Part, asks
// "現在のデータを保存しますか？" and on Yes saves as SaveCommand does. The
// window closes whatever happens.
void AskSaveBeforeClosing(Scene& scene, UserPrompt& prompt);
