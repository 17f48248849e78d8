#include "scene/SaveTargets.h"

#include "io/WriteTarget.h"
#include "scene/MessageLists.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <algorithm>
#include <cerrno>
#include <set>

namespace m3d {

namespace {

// The paths of files that are not in exclude.
std::vector<std::string> Without(const std::vector<std::string>& files, const std::vector<std::string>& exclude)
{
    std::vector<std::string> rest;
    for (const std::string& file : files)
        if (std::find(exclude.begin(), exclude.end(), file) == exclude.end()) rest.push_back(file);
    return rest;
}

// "a, b, c" of the first few, then how many more.
std::string PathList(const std::vector<std::string>& files)
{
    std::string text;
    for (size_t i = 0; i < files.size() && i < kNamedInMessage; ++i) text += (i == 0 ? "" : ", ") + files[i];
    if (files.size() > kNamedInMessage) text += " and " + std::to_string(files.size() - kNamedInMessage) + " more";
    return text;
}

}  // namespace

SaveTargetCheck CheckSaveTargets(const std::vector<std::string>& paths)
{
    SaveTargetCheck check;
    std::set<std::string> seen;  // Parts sharing a name plan the same file twice
    for (const std::string& path : paths) {
        if (!seen.insert(path).second) continue;
        const WriteTarget target = InspectWriteTarget(path);
        if (target.kind == WriteTarget::Kind::Unusable || target.kind == WriteTarget::Kind::NotRegular) {
            check.refusal = target.error;
            check.refusalErrorNumber = target.errorNumber;
            return check;
        }
        if (target.kind != WriteTarget::Kind::Regular) continue;
        check.existing.push_back(path);
        if (target.readOnly) check.readOnly.push_back(path);
    }
    return check;
}

bool AskReplaceReadOnly(const std::vector<std::string>& files, UserPrompt& prompt)
{
    return AskReplaceFiles({}, files, UiText("core", "上書き保存"), prompt);
}

bool AskReplaceFiles(const std::vector<std::string>& existing, const std::vector<std::string>& readOnly,
                     const std::string& caption, UserPrompt& prompt)
{
    const std::vector<std::string> writable = Without(existing, readOnly);
    if (writable.empty() && readOnly.empty()) return true;
    std::string question;
    if (readOnly.empty())
        question = WithArguments(UiText("core", "%1は存在します。上書きしますか？"), {QuotedFileNames(writable)});
    else if (writable.empty())
        question = WithArguments(UiText("core", "%1は読み取り専用です。上書きしますか？"), {QuotedFileNames(readOnly)});
    else
        question = WithArguments(UiText("core", "%1は存在し、%2は読み取り専用です。上書きしますか？"),
                                 {QuotedFileNames(writable), QuotedFileNames(readOnly)});
    return prompt.AskYesNo(question, caption);
}

std::string ReadOnlyRefusal(const std::vector<std::string>& files)
{
    return PathList(files) + (files.size() == 1 ? ": the file is" : ": the files are") +
           " read-only; nothing was written";
}

std::string ReplaceRefusal(const std::vector<std::string>& existing, const std::vector<std::string>& readOnly)
{
    const std::vector<std::string> writable = Without(existing, readOnly);
    if (writable.empty()) return ReadOnlyRefusal(readOnly);
    std::string text = PathList(writable) + (writable.size() == 1 ? ": the file exists" : ": the files exist");
    if (!readOnly.empty())
        text += "; " + PathList(readOnly) + (readOnly.size() == 1 ? ": the file is" : ": the files are") + " read-only";
    return text + "; nothing was written";
}

std::string WriteFailureHeading(int errorNumber, const char* otherwise)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT: return UiText("core", "ディスクの空きが足りないため書き込めない");
    case EROFS: return UiText("core", "読み取り専用の場所のため書き込めない");
    case EACCES:
    case EPERM: return UiText("core", "書き込む権限がないため書き込めない");
    case ENAMETOOLONG: return UiText("core", "ファイル名が長すぎるため書き込めない");
    case EFBIG: return UiText("core", "ファイルが大きすぎるため書き込めない");
    default: return UiText("core", otherwise);
    }
}

}  // namespace m3d
