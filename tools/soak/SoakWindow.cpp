#include "SoakWindow.h"

#include "app/CAppWinApp.h"

namespace m3d::soak {

SoakWindow::SoakWindow(std::string settings, std::string help, std::string guide)
    : settingsPath(std::move(settings)), helpPath(std::move(help)), guidePath(std::move(guide))
{
}

SoakWindow::~SoakWindow() { Destroy(); }

void SoakWindow::Open(const std::string& project, const std::string& language)
{
    Destroy();
    translation = std::make_unique<InterfaceTranslation>(language);
    session = std::make_unique<EditorSession>();
    framework = std::make_unique<RenderFrameworkState>();
    AppEnvironment environment;
    environment.session = session.get();
    environment.framework = framework.get();
    environment.settingsPath = settingsPath;
    environment.helpPath = helpPath;
    environment.language = language;
    environment.guidePath = guidePath;
    frame = OpenMainWindow(environment, project);
    // The help commands would start the desktop's browser: the soak only
    // checks that they get as far as asking for it.
    frame->Form()->openUrl = [](const QUrl&) { return true; };
    frame->activateWindow();
}

void SoakWindow::Destroy()
{
    frame.reset();
    framework.reset();
    session.reset();
    translation.reset();
}

bool SoakWindow::IsOpen() const { return frame != nullptr && frame->isVisible(); }

}  // namespace m3d::soak
