#include "scene/SaveTargets.h"

#include "io/PathLookup.h"
#include "io/WriteTarget.h"
#include "scene/UserPrompt.h"

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
    for (size_t i = 0; i < files.size() && i < NAMED_FILES; ++i) names += "「" + FileNameOf(files[i]) + "」";
    if (files.size() > NAMED_FILES) names += "ほか" + std::to_string(files.size() - NAMED_FILES) + "個のファイル";
    return prompt.AskYesNo(names + "は読み取り専用です。上書きしますか？", "上書き保存");
}

std::string ReadOnlyRefusal(const std::vector<std::string>& files)
{
    std::string text;
    for (const std::string& file : files) text += (text.empty() ? "" : ", ") + file;
    return text + (files.size() == 1 ? ": the file is" : ": the files are") + " read-only; nothing was written";
}
