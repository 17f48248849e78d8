#pragma once

#include "app/CAppForm.h"
#include "app/CAppFrameWnd.h"
#include "app/CAppWinApp.h"
#include "app/RenderWidget.h"
#include "editor/EditorSession.h"
#include "scene/Scene.h"
#include "support/SceneParts.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QMenuBar>
#include <QScreen>
#include <QtTest>

#include <memory>
#include <optional>

namespace m3d {

// The program's main window as the program opens it, with its own settings
// file in a temporary folder, sized so that its client area is exactly
// clientWidth x clientHeight, remembering language as the interface language,
// keeping recovery snapshots in recoveryFolder ("": none).
struct RunningApp {
    EditorSession session;
    Scene& scene = session.GetScene();  // outlives the window, as in the program
    RenderFrameworkState framework;
    std::unique_ptr<CAppFrameWnd> frame;
    std::string settingsPath;

    explicit RunningApp(const std::string& settings, std::optional<std::string> startupFile = std::nullopt,
                        int clientWidth = 1000, int clientHeight = 800,
                        const std::string& language = kDefaultInterfaceLanguage,
                        const std::string& recoveryFolder = std::string())
        : settingsPath(settings)
    {
        AppEnvironment environment;
        environment.session = &session;
        environment.framework = &framework;
        environment.settingsPath = settings;
        environment.helpPath = M3D_HELP_PAGE;
        environment.language = language;
        environment.guidePath = M3D_GUIDE_PAGE;
        environment.recoveryFolder = recoveryFolder;
        frame = OpenMainWindow(environment, startupFile);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        SetClientSize(clientWidth, clientHeight);
        WaitForStartFrames();
    }
    ~RunningApp()
    {
        if (frame) frame->close();
        frame.reset();
    }

    CAppForm& Form() { return *frame->Form(); }
    RenderWidget& Render() { return *Form().RenderWindow(); }

    void SetClientSize(int w, int h)
    {
        for (int attempt = 0; attempt < 3 && (Form().width() != w || Form().height() != h); ++attempt) {
            frame->resize(frame->width() + w - Form().width(), frame->height() + h - Form().height());
            QTRY_VERIFY_WITH_TIMEOUT(Form().width() == w && Form().height() == h, 2000);
        }
    }
    // The first two frames show the panels and check the tree, each right
    // after its frame (two frames may come before either runs).
    void WaitForStartFrames()
    {
        QTRY_VERIFY_WITH_TIMEOUT(Form().Stages().Count() == 2, 5000);
        QCoreApplication::processEvents();
    }
    // Draws a frame of the current state and returns it.
    QImage Grab() { return Render().grabFramebuffer().convertToFormat(QImage::Format_RGB32); }
    // What the screen shows of widget's rectangle area (the render window's
    // native surface included, which a widget grab leaves out), once the
    // frames asked for are out.
    QPixmap Shown(const QWidget& widget, const QRect& area)
    {
        QTest::qWait(100);
        const QPoint at = widget.mapToGlobal(area.topLeft());
        return widget.screen()->grabWindow(0, at.x(), at.y(), area.width(), area.height());
    }
    // Closes the window as the user would (the settings are written).
    void Close()
    {
        frame->close();
        frame.reset();
    }
};

// The program opened on two boxes, "right" (Part 0) at x 20 and "left"
// (Part 1) at x -20, with the root entry selected while loading and the pose
// history restarted.
inline std::unique_ptr<RunningApp> OpenTwoBoxes(const TempFolder& folder, const std::string& settings)
{
    {
        Scene scratch;
        sceneparts::AddBoxPart(scratch, folder, "right", {20, 0, 0}, 5);
        sceneparts::AddBoxPart(scratch, folder, "left", {-20, 0, 0}, 5);
    }
    auto app = std::make_unique<RunningApp>(settings, folder.File("right.mesh"));
    app->scene.SelectTreeItem(app->scene.rootPart.treeItem);
    app->Form().OpenStartupFile(folder.File("left.mesh"));
    app->session.History().Clear();
    return app;
}

}  // namespace m3d
