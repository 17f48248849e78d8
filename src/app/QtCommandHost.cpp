#include "app/QtCommandHost.h"

#include "app/CAppForm.h"
#include "app/DocumentRecovery.h"
#include "app/ExportGltfDialog.h"
#include "app/ImportModelDialog.h"
#include "app/ExportXDialogs.h"
#include "app/GridWidthDialog.h"
#include "app/MotionDialogs.h"
#include "app/MotionPanel.h"
#include "app/PartCommandDialogs.h"
#include "app/IkDialogs.h"
#include "app/MovieExportDialog.h"
#include "app/MovieRendering.h"
#include "app/PartShapeDialogs.h"
#include "app/PartNameDialog.h"
#include "app/MoveSnapDialog.h"
#include "app/ScaleDialog.h"
#include "app/SymmetryDialog.h"
#include "app/TransformPanel.h"
#include "editor/EditorSession.h"
#include "scene/ProjectFile.h"
#include "text/UiText.h"

#include <QFileDialog>

namespace m3d {

QtCommandHost::QtCommandHost(CAppForm& form, QWidget* window) : form(form), window(window), prompt(window) {}

std::string QtCommandHost::AskObjectPath(const std::string& title)
{
    return AskObjectFile(form.GetScene().addObjectDirectory, title, window);
}

std::string QtCommandHost::AskProjectPath()
{
    QFileDialog dialog(window, QString(), QString::fromStdString(form.GetScene().addObjectDirectory),
                       QtUserPrompt::DialogFilter(UiText("core", kProjectFileFilter)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().front().toStdString();
}

std::optional<int> QtCommandHost::AskGridWidth(int current) { return m3d::AskGridWidth(current, window); }

std::optional<float> QtCommandHost::AskScaleFactor() { return m3d::AskScaleFactor(window); }

std::optional<float> QtCommandHost::AskMoveSnap(float current) { return m3d::AskMoveSnap(current, window); }

std::optional<MotionNameAnswer> QtCommandHost::AskMotionName() { return m3d::AskMotionName(form.Session(), window); }

std::optional<int> QtCommandHost::AskMotionLength(int current) { return m3d::AskMotionLength(current, window); }

std::optional<Vec3> QtCommandHost::AskPivotPoint()
{
    return m3d::AskPivotPoint(form.Session().GetScene(), form.Session().CurrentPart(), window);
}

std::optional<float> QtCommandHost::AskPartScale() { return m3d::AskPartScale(window); }

std::optional<PoleAnswer> QtCommandHost::AskPole(std::optional<Vec3> shown) { return m3d::AskPole(shown, window); }

std::optional<JointLimit> QtCommandHost::AskJointLimit(const JointLimit& current)
{
    return m3d::AskJointLimit(current, window);
}

bool QtCommandHost::ReadTransformFields() { return form.HostedPanel<TransformPanel>()->ReadFields(); }

bool QtCommandHost::ReadFrameRate() { return form.HostedPanel<MotionPanel>()->ReadFrameRate(); }

void QtCommandHost::ShowColourDialog() { form.ChangeColours(); }

void QtCommandHost::ShowMirroredNameDialog()
{
    PartNameDialog dialog(form.Session(), PartNameDialog::Purpose::AddMirrored, window);
    dialog.exec();
}

void QtCommandHost::ShowRenamePartDialog()
{
    PartNameDialog dialog(form.Session(), PartNameDialog::Purpose::Rename, window);
    dialog.exec();
}

void QtCommandHost::ShowSymmetryDialog()
{
    SymmetryDialog dialog(form.Session(), window);
    dialog.exec();
}

void QtCommandHost::ShowExportXDialogs()
{
    SettingsValues& remembered = form.Settings();
    ExportXFromDialogs(form.Session(), remembered.exportXFileDirectory, remembered.timeScaleFactor, window);
}

void QtCommandHost::ShowExportGltfDialog()
{
    ExportGltfFromDialog(form.Session(), form.Settings().exportGltfDirectory, window);
}

void QtCommandHost::ShowImportModelDialog()
{
    ImportModelFromDialogs(form.Session(), form.GetScene().addObjectDirectory, prompt, window);
    form.RequestRedraw();
}

void QtCommandHost::ShowMovieExportDialog()
{
    const std::optional<MovieExportChoices> choices =
        AskMovieExport(form.Session(), lastMovie ? &*lastMovie : nullptr, window);
    if (!choices) return;
    lastMovie = choices;
    RenderMovieWithProgress(form, *choices, prompt, window);
}

void QtCommandHost::ShowRecoveryDialog()
{
    if (recovery) recovery->ShowDialog(prompt, window);
}

void QtCommandHost::ShowHelpContents() { form.ShowHelp(); }

void QtCommandHost::ShowUserGuide() { form.ShowGuide(); }

void QtCommandHost::ShowAbout() { form.ShowVersionDialog(); }

void QtCommandHost::Quit() { window->close(); }

}  // namespace m3d
