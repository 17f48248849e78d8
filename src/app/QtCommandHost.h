#pragma once

#include "app/QtUserPrompt.h"
#include "editor/CommandHost.h"
#include "editor/MovieExport.h"

#include <optional>

class QWidget;

namespace m3d {

class CAppForm;
class DocumentRecovery;

// The commands' questions and dialogs as the main window shows them: file
// dialogs, the field dialogs, the motion name, symmetry, colour and export
// dialogs, help and the window's own close.
class QtCommandHost : public CommandHost {
public:
    // window: the main window, parent of every dialog.
    QtCommandHost(CAppForm& form, QWidget* window);

    // The window's crash recovery, for "復元…" (not owned; null: none).
    void UseRecovery(DocumentRecovery* windowRecovery) { recovery = windowRecovery; }

    UserPrompt& Prompt() override { return prompt; }
    std::string AskObjectPath(const std::string& title) override;
    std::string AskProjectPath() override;
    std::optional<int> AskGridWidth(int current) override;
    std::optional<float> AskScaleFactor() override;
    std::optional<float> AskMoveSnap(float current) override;
    std::optional<MotionNameAnswer> AskMotionName() override;
    std::optional<int> AskMotionLength(int current) override;
    std::optional<Vec3> AskPivotPoint() override;
    std::optional<float> AskPartScale() override;
    std::optional<PoleAnswer> AskPole(std::optional<Vec3> shown) override;
    std::optional<JointLimit> AskJointLimit(const JointLimit& current) override;
    bool ReadTransformFields() override;
    bool ReadFrameRate() override;
    void ShowColourDialog() override;
    void ShowMirroredNameDialog() override;
    void ShowRenamePartDialog() override;
    void ShowSymmetryDialog() override;
    void ShowExportXDialogs() override;
    void ShowExportGltfDialog() override;
    void ShowImportModelDialog() override;
    void ShowMovieExportDialog() override;
    void ShowRecoveryDialog() override;
    void ShowHelpContents() override;
    void ShowUserGuide() override;
    void ShowAbout() override;
    void Quit() override;

private:
    CAppForm& form;
    QWidget* window;
    QtUserPrompt prompt;
    DocumentRecovery* recovery = nullptr;
    // What "動画出力" last rendered in this run; the next dialog starts from it.
    std::optional<MovieExportChoices> lastMovie;
};

}  // namespace m3d
