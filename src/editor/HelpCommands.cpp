#include "editor/HelpCommands.h"

#include "scene/UserPrompt.h"

#include <filesystem>
#include <system_error>

bool OpenHelpDocument(const std::string& path, const OpenFileFunction& open, UserPrompt& prompt)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        prompt.ShowMessage("ヘルプのファイル「" + path + "」が見つかりません。", "ヘルプ");
        return false;
    }
    if (open(path)) return true;
    prompt.ShowMessage("ヘルプを開けませんでした。ブラウザで次のファイルを開いてください：\n" + path, "ヘルプ");
    return false;
}
