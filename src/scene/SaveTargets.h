#pragma once

#include <string>
#include <vector>

namespace m3d {

class UserPrompt;

// What the files a save is about to replace allow, looked at before any is written.
struct SaveTargetCheck {
    // Why the save cannot go ahead (a target that is no regular file, or that
    // cannot be looked at), naming the file; "" when it can.
    std::string refusal;
    // errno of a target that could not be looked at (ENAMETOOLONG...); 0 otherwise.
    int refusalErrorNumber = 0;
    // The targets that exist and are read-only for us, in the order given, each once.
    std::vector<std::string> readOnly;
    // The targets where a regular file is (read-only ones included), in the order given, each once.
    std::vector<std::string> existing;
};

SaveTargetCheck CheckSaveTargets(const std::vector<std::string>& paths);

// Asks once whether the read-only files may be replaced:
// "「NAME」は読み取り専用です。上書きしますか？" with their file names (the
// first few, then how many more). true without asking when files is empty.
bool AskReplaceReadOnly(const std::vector<std::string>& files, UserPrompt& prompt);

// Asks once, with caption, whether files nobody has asked about yet may be
// replaced: existing ones "「a.bin」は存在します。上書きしますか？", read-only
// ones as AskReplaceReadOnly, both in one question when there are both. A
// file in both lists is named as read-only only. true without asking when
// both are empty.
bool AskReplaceFiles(const std::vector<std::string>& existing, const std::vector<std::string>& readOnly,
                     const std::string& caption, UserPrompt& prompt);

// The refusal when the answer was No: the files (the first few, then how
// many more), and that nothing was written.
std::string ReadOnlyRefusal(const std::vector<std::string>& files);
std::string ReplaceRefusal(const std::vector<std::string>& existing, const std::vector<std::string>& readOnly);

// The first line of a message about a file that could not be written, saying
// the cause errorNumber gives (disk full, read-only place, no permission,
// name too long, file too large); otherwise, a core text, when it gives none.
std::string WriteFailureHeading(int errorNumber, const char* otherwise);

}  // namespace m3d
