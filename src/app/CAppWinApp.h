#pragma once

#include "render/RenderFrameworkState.h"
#include "app/InterfaceTranslation.h"
#include "editor/ProgramArguments.h"

#include <QApplication>

#include <memory>
#include <optional>
#include <string>

namespace m3d {

class CAppFrameWnd;
class EditorSession;
struct AppEnvironment;

// The start-up of the main window: makes the panels' font (DialogFont) the
// application's, creates the frame and its form, runs the scene start-up
// (panels, views, settings, grid), shows the window, places the panels and
// then opens or adds the file named on the command line.
std::unique_ptr<CAppFrameWnd> OpenMainWindow(const AppEnvironment& environment,
                                             const std::optional<std::string>& startupFile);

// The application: owns the Qt application and the scene for the whole run,
// reads the command line, puts the interface in the language chosen there or
// remembered in the settings file, opens the main window and the file it
// names, and runs the event loop.
class CAppWinApp {
public:
    CAppWinApp(int& argc, char** argv);
    ~CAppWinApp();

    // Creates and shows the main window, then opens the file named on the
    // command line. false when the program cannot start (a bad command line).
    bool InitInstance();
    // Runs the event loop until the main window is closed; returns the exit code.
    int Run();

    CAppFrameWnd* MainFrame() const { return frame.get(); }
    EditorSession& Session() { return *session; }
    const ProgramArguments& Arguments() const { return arguments; }
    const std::string& SettingsPath() const { return settingsPath; }
    const std::string& HelpPath() const { return helpPath; }
    const std::string& Language() const { return language; }

private:
    QApplication application;
    std::unique_ptr<EditorSession> session;
    RenderFrameworkState framework;
    ProgramArguments arguments;
    std::string settingsPath;
    std::string language;  // the interface language of this run
    std::string helpPath;
    std::unique_ptr<InterfaceTranslation> translation;
    std::string guidePath;
    std::unique_ptr<CAppFrameWnd> frame;
};

}  // namespace m3d
