// The editor as a window test drives it into a crash: opens PROJECT with the
// settings file SETTINGS (recovery snapshots a moment apart) and snapshots
// in $XDG_STATE_HOME, enlarges Part 1 and lengthens the Motion as the
// commands do, saves the document as it then is as EXPECTED with the core's
// save (which leaves it unsaved for the window), waits for the snapshot
// that holds it, prints "ready" and waits to be killed.
#include "app/CAppForm.h"
#include "app/CAppFrameWnd.h"
#include "app/CAppWinApp.h"
#include "app/RenderWidget.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/PartShapeCommands.h"
#include "editor/RecoveryFolder.h"
#include "scene/ProjectFile.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QTimer>

#include <cstdio>

using namespace m3d;

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SETTINGS PROJECT EXPECTED.anm\n", argv[0]);
        return 2;
    }
    QSurfaceFormat::setDefaultFormat(RenderWidget::RequestedFormat());
    QApplication application(argc, argv);
    EditorSession session;
    RenderFrameworkState framework;
    AppEnvironment environment;
    environment.session = &session;
    environment.framework = &framework;
    environment.settingsPath = argv[1];
    environment.helpPath = M3D_HELP_PAGE;
    environment.guidePath = M3D_GUIDE_PAGE;
    environment.recoveryFolder = DefaultRecoveryFolder();
    std::unique_ptr<CAppFrameWnd> frame = OpenMainWindow(environment, std::string(argv[2]));
    session.SelectPart(1);
    if (!ResizePartCommand(session, 1.5f) || !SetMotionLengthCommand(session, 77)) return 1;
    ScriptedPrompt prompt;
    if (!SaveProject(session.GetScene(), argv[3], prompt)) return 1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (frame->Recovery().Snapshots()->LastSnapshotId().empty()) return;
        watch.stop();
        std::printf("ready\n");
        std::fflush(stdout);
    });
    watch.start(50);
    return QApplication::exec();
}
