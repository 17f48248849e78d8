#include "editor/HelpCommands.h"

#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(HelpCommands, MissingFileAndBrowserThatDoesNotStartAreSaidNamingTheFile)
{
    TempFolder folder;
    folder.Write("index.html", "<html></html>");
    const std::string page = folder.File("index.html");
    std::vector<std::string> opened;
    bool browserStarts = true;
    const OpenFileFunction open = [&](const std::string& path) {
        opened.push_back(path);
        return browserStarts;
    };
    ScriptedPrompt prompt;
    EXPECT_TRUE(OpenHelpDocument(page, open, prompt));
    EXPECT_EQ(opened, std::vector<std::string>{page});
    EXPECT_TRUE(prompt.asked.empty());

    browserStarts = false;
    EXPECT_FALSE(OpenHelpDocument(page, open, prompt));
    EXPECT_EQ(prompt.asked, std::vector<std::string>{
                                "ヘルプ|ヘルプを開けませんでした。ブラウザで次のファイルを開いてください：\n" + page});

    EXPECT_FALSE(OpenHelpDocument(folder.File("gone.html"), open, prompt));
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(prompt.asked.back(), "ヘルプ|ヘルプのファイル「" + folder.File("gone.html") + "」が見つかりません。");
}
