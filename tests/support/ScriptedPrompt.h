#pragma once

#include "scene/UserPrompt.h"

#include <deque>
#include <string>
#include <vector>

namespace m3d {

// Answers the file commands' questions from a script and records every
// question and message as "caption|text" (mesh questions as "mesh|text",
// save dialogs as "save|filter|extension"). A question beyond the script is
// recorded and answered No / Cancel / cancel.
class ScriptedPrompt : public UserPrompt {
public:
    std::deque<bool> yesNo;
    std::deque<YesNoCancel> yesNoCancel;
    std::deque<std::string> savePaths;
    std::deque<int> meshAnswers;
    std::vector<std::string> asked;

    bool AskYesNo(const std::string& text, const std::string& caption) override
    {
        asked.push_back(caption + "|" + text);
        return Take(yesNo, false);
    }
    YesNoCancel AskYesNoCancel(const std::string& text, const std::string& caption) override
    {
        asked.push_back(caption + "|" + text);
        return Take(yesNoCancel, YesNoCancel::Cancel);
    }
    void ShowMessage(const std::string& text, const std::string& caption) override
    {
        asked.push_back(caption + "|" + text);
    }
    std::string AskSavePath(const std::string& filter, const std::string& defaultExtension) override
    {
        asked.push_back("save|" + filter + "|" + defaultExtension);
        return Take(savePaths, std::string());
    }
    int AskMeshOverwrite(const std::string& text) override
    {
        asked.push_back("mesh|" + text);
        return Take(meshAnswers, static_cast<int>(MeshOverwriteAnswer::Cancel));
    }

private:
    template <typename T>
    static T Take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace m3d
