#include "scene/SaveTargets.h"

#include "io/PathLookup.h"
#include "io/WriteTarget.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <set>

namespace {
// The question names this many files at most, so that it fits on the screen.
constexpr size_t NAMED_FILES = 5;
}  // namespace

SaveTargetCheck CheckSaveTargets(const std::vector<std::string>& paths)
{
    SaveTargetCheck check;
    std::set<std::string> seen;  // Parts sharing a name plan the same file twice
    for (const std::string& path : paths) {
        if (!seen.insert(path).second) continue;
        const WriteTarget target = InspectWriteTarget(path);
        if (target.kind == WriteTarget::UNUSABLE || target.kind == WriteTarget::NOT_REGULAR) {
            check.refusal = target.error;
            return check;
        }
        if (target.kind == WriteTarget::REGULAR && target.readOnly) check.readOnly.push_back(path);
    }
    return check;
}

bool AskReplaceReadOnly(const std::vector<std::string>& files, UserPrompt& prompt)
{
    if (files.empty()) return true;
    std::string names;
    for (size_t i = 0; i < files.size() && i < NAMED_FILES; ++i)
        names += WithArguments(UiText("core", "「%1」"), {FileNameOf(files[i])});
    if (files.size() > NAMED_FILES)
        names += WithArguments(UiText("core", "ほか%1個のファイル"), {std::to_string(files.size() - NAMED_FILES)});
    // A translation's pieces may end in a space to keep the names apart.
    names.erase(names.find_last_not_of(' ') + 1);
    return prompt.AskYesNo(WithArguments(UiText("core", "%1は読み取り専用です。上書きしますか？"), {names}),
                           UiText("core", "上書き保存"));
}

std::string ReadOnlyRefusal(const std::vector<std::string>& files)
{
    std::string text;
    for (const std::string& file : files) text += (text.empty() ? "" : ", ") + file;
    return text + (files.size() == 1 ? ": the file is" : ": the files are") + " read-only; nothing was written";
}
