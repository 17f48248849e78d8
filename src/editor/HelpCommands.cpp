#include "editor/HelpCommands.h"

#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <filesystem>
#include <system_error>

namespace m3d {

bool OpenHelpDocument(const std::string& path, const OpenFileFunction& open, UserPrompt& prompt)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        prompt.ShowMessage(WithArguments(UiText("core", "ヘルプのファイル「%1」が見つかりません。"), {path}),
                           UiText("core", "ヘルプ"));
        return false;
    }
    if (open(path)) return true;
    prompt.ShowMessage(
        WithArguments(UiText("core", "ヘルプを開けませんでした。ブラウザで次のファイルを開いてください：\n%1"), {path}),
        UiText("core", "ヘルプ"));
    return false;
}

}  // namespace m3d
