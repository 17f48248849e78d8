#pragma once

#include <string>

namespace m3d {

class TaskProgress;

// Answers to the mesh overwrite question.
enum class MeshOverwriteAnswer : int {
    Yes = 0,
    YesToAll = 1,
    No = 2,
    Cancel = 3,  // also what closing the question with Escape gives
};

// Answers to a Yes/No/Cancel question.
enum class YesNoCancel { Yes, No, Cancel };

// The questions and messages of the file commands. The program answers them
// with dialogs; tests answer them with a script. Texts arrive as they are shown.
class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // A Yes/No/Cancel question; closing it with Escape gives Cancel.
    virtual YesNoCancel AskYesNoCancel(const std::string& text, const std::string& caption) = 0;
    // A message with an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Something the user should know that is no failure of the command (an
    // interrupted save found and ended); by default a message like the others.
    virtual void ShowNote(const std::string& text, const std::string& caption) { ShowMessage(text, caption); }
    // The project save dialog (filter and default extension as given; it asks
    // itself before replacing a file). Returns the chosen path, "" when cancelled.
    virtual std::string AskSavePath(const std::string& filter, const std::string& defaultExtension) = 0;
    // The mesh overwrite question with its four answers; any other value counts as cancel.
    virtual MeshOverwriteAnswer AskMeshOverwrite(const std::string& text) = 0;
    // Where long work of the command (encoding textures, writing many files)
    // shows how far it is and may be cancelled; nullptr: nowhere. Not owned.
    virtual TaskProgress* Progress() { return nullptr; }
};

}  // namespace m3d
