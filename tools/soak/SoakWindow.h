#pragma once

#include "app/CAppFrameWnd.h"
#include "app/InterfaceTranslation.h"
#include "editor/EditorSession.h"
#include "render/RenderFrameworkState.h"

#include <memory>
#include <string>

namespace m3d::soak {

// The program's main window as the program opens it: a session, the
// render framework's state and the frame, made and destroyed together, with
// the settings file of the soak's folder. Opening again after the window was
// closed is the program started again on the same settings.
class SoakWindow {
public:
    // settingsPath, helpPath, guidePath: as the program would find them.
    SoakWindow(std::string settingsPath, std::string helpPath, std::string guidePath);
    ~SoakWindow();

    // Opens the main window on project in language ("ja" or "en"), after
    // destroying any window there was.
    void Open(const std::string& project, const std::string& language);
    // Destroys the window, the session and the interface language.
    void Destroy();

    // The main window; nullptr when none was opened or it was destroyed.
    CAppFrameWnd* Frame() const { return frame.get(); }
    // Whether the main window is there and shown (the user has not closed it).
    bool IsOpen() const;
    EditorSession& Session() { return *session; }

private:
    std::string settingsPath;
    std::string helpPath;
    std::string guidePath;
    std::unique_ptr<InterfaceTranslation> translation;
    std::unique_ptr<EditorSession> session;
    std::unique_ptr<RenderFrameworkState> framework;
    std::unique_ptr<CAppFrameWnd> frame;
};

}  // namespace m3d::soak
