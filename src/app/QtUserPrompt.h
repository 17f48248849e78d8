#pragma once

#include "scene/UserPrompt.h"

#include <QString>

#include <memory>

class QWidget;

namespace m3d {

class TaskProgressDialog;

// The file commands' questions as the program's dialogs: message boxes with
// the given captions, the standard save dialog, and the four-answer mesh
// overwrite question.
class QtUserPrompt : public UserPrompt {
public:
    explicit QtUserPrompt(QWidget* parent);
    ~QtUserPrompt() override;

    bool AskYesNo(const std::string& text, const std::string& caption) override;
    YesNoCancel AskYesNoCancel(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    std::string AskSavePath(const std::string& filter, const std::string& defaultExtension) override;
    MeshOverwriteAnswer AskMeshOverwrite(const std::string& text) override;
    // A new progress dialog for each command that asks (see TaskProgressDialog).
    TaskProgress* Progress() override;

    // A filter of the form "description|pattern|...||" in the form the file
    // dialogs take ("description (pattern);;...").
    static QString DialogFilter(const std::string& filter);

private:
    QWidget* parent;
    std::unique_ptr<TaskProgressDialog> progress;
};

}  // namespace m3d
