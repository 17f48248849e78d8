#pragma once

#include "cli/TextureReport.h"
#include "scene/UserPrompt.h"

#include <string>

namespace m3d {

// Answers a command's questions without a person; a message is a failure, a
// note is printed as a warning.
// The only Yes/No question of a save or an export is whether files may be
// replaced that nobody chose (read-only ones, files beside an export).
class CommandPrompt : public UserPrompt {
public:
    // overwrite: existing .mesh files are replaced; replaceFiles: the Yes/No
    // question is answered Yes (the --overwrite option).
    CommandPrompt(bool overwrite, bool replaceFiles) : overwrite(overwrite), replaceFiles(replaceFiles) {}
    bool AskYesNo(const std::string&, const std::string&) override
    {
        askedToReplace = true;
        return replaceFiles;
    }
    YesNoCancel AskYesNoCancel(const std::string&, const std::string&) override { return YesNoCancel::Cancel; }
    void ShowMessage(const std::string& text, const std::string&) override
    {
        if (message.empty()) message = text;
    }
    // An interrupted save that was ended: a warning line on stderr.
    void ShowNote(const std::string& text, const std::string&) override { PrintWarning(text); }
    std::string AskSavePath(const std::string&, const std::string&) override { return std::string(); }
    MeshOverwriteAnswer AskMeshOverwrite(const std::string&) override
    {
        return overwrite ? MeshOverwriteAnswer::YesToAll : MeshOverwriteAnswer::No;
    }

    std::string message;          // the first message shown
    bool askedToReplace = false;  // the Yes/No question came

private:
    bool overwrite;
    bool replaceFiles;
};

}  // namespace m3d
