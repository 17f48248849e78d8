#include "app/MovieRendering.h"

#include "anim/ExportReport.h"
#include "app/CAppForm.h"
#include "app/RenderWidget.h"
#include "app/TaskProgressDialog.h"
#include "editor/EditorSession.h"
#include "editor/history/PoseChange.h"
#include "gl/OffscreenTarget.h"
#include "io/FileSetWriter.h"
#include "pictures/MotionPictures.h"
#include "pictures/MovieFile.h"
#include "scene/RecoveryNotes.h"
#include "text/UiText.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace m3d {

Outcome RenderMovie(CAppForm& form, const MovieExportChoices& choices, TaskProgress* progress, UserPrompt& prompt)
{
    EditorSession& session = form.Session();
    if (const std::string refused = CheckMovieExport(session, choices); !refused.empty())
        return Outcome::Failure(refused);
    MovieExportChoices drawn = choices;
    FitMovieFrameSize(*MovieKindOf(choices.path), drawn.width, drawn.height);
    MovieOptions options;
    options.framesPerSecond = choices.framesPerSecond;
    options.transparent = !choices.background.has_value();
    options.firstNumber = choices.firstFrame;
    Expected<std::unique_ptr<MovieWriter>> writer = OpenMovieWriter(choices.path, options);
    if (!writer) return Outcome::Failure(writer.Message());
    RenderWidget& window = *form.RenderWindow();
    if (window.context() == nullptr) return Outcome::Failure(UiText("core", "描画の準備ができていません。"));

    Scene& scene = session.GetScene();
    const PoseSnapshot pose = SnapshotOf(scene);
    const PictureViews views = MoviePictureViews(session, drawn);
    const MotionFrameRange range{choices.motion, choices.firstFrame, choices.lastFrame};
    Outcome outcome;
    window.makeCurrent();
    {
        Expected<std::unique_ptr<OffscreenTarget>> target = OffscreenTarget::Create(drawn.width, drawn.height);
        if (!target) {
            outcome = Outcome::Failure(target.Message());
        } else {
            outcome = WriteMotionPictures(scene, range, views, form.Device(), **target, **writer, [&](int done) {
                const bool goOn = ReportProgress(progress, uint64_t(done), uint64_t(range.Count()));
                window.makeCurrent();  // the progress dialog lets the window paint
                return goOn;
            });
        }
    }
    window.doneCurrent();
    RestoreSnapshot(scene, pose);
    form.RequestRedraw();
    if (!outcome) return outcome;
    FileSetWriter set;
    outcome = (*writer)->Finish(set);
    if (outcome) outcome = set.Commit();
    ShowRecoveryNotes(set.Recoveries(), prompt);
    return outcome;
}

void RenderMovieWithProgress(CAppForm& form, const MovieExportChoices& choices, UserPrompt& prompt, QWidget* parent)
{
    const QString title = QCoreApplication::translate("MovieRendering", "動画出力");
    Outcome outcome;
    {
        TaskProgressDialog progress(parent, QCoreApplication::translate("MovieRendering", "動画を書き出しています..."));
        outcome = RenderMovie(form, choices, &progress, prompt);
    }
    if (outcome.Cancelled()) return;
    if (!outcome)
        QMessageBox::critical(parent, title, QString::fromStdString(outcome.Message()));
    else
        QMessageBox::information(parent, title, QString::fromStdString(ExportDoneMessage(choices.path, "")));
}

}  // namespace m3d
