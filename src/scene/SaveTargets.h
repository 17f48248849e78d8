#pragma once

#include <string>
#include <vector>

class UserPrompt;

// What the files a save is about to replace allow, looked at before any is written.
struct SaveTargetCheck {
    // Why the save cannot go ahead (a target that is no regular file, or that
    // cannot be looked at), naming the file; "" when it can.
    std::string refusal;
    // The targets that exist and are read-only for us, in the order given, each once.
    std::vector<std::string> readOnly;
};

SaveTargetCheck CheckSaveTargets(const std::vector<std::string>& paths);

// Asks once whether the read-only files may be replaced:
// "「NAME」は読み取り専用です。上書きしますか？" with their file names (the
// first few, then how many more). true without asking when files is empty.
bool AskReplaceReadOnly(const std::vector<std::string>& files, UserPrompt& prompt);

// The refusal when the answer was No: the files, and that nothing was written.
std::string ReadOnlyRefusal(const std::vector<std::string>& files);
