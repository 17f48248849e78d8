#pragma once

#include "gl/GlRenderDevice.h"
#include "app/HostedPanels.h"
#include "app/QtUserPrompt.h"
#include "io/Outcome.h"
#include "render/CRenderApp.h"
#include "settings/InterfaceLanguage.h"
#include "settings/SettingsValues.h"
#include "editor/EditorEvents.h"
#include "editor/MouseController.h"
#include "editor/ViewNavigation.h"
#include "view/FirstFrameStages.h"
#include "view/GridGeometry.h"
#include "view/PanelSplitter.h"
#include "view/ViewDisplay.h"
#include "view/ViewState.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QMouseEvent;
class QWheelEvent;
class QOpenGLContext;

namespace m3d {

class CommandActions;
class RenderWidget;
class EditorSession;
class Scene;
class GlGraphicsDriver;
class MotionPathDisplay;
class TextureLoadReport;

// What the application hands the form: the process-wide editing session and
// the paths worked out at start-up.
struct AppEnvironment {
    EditorSession* session = nullptr;                  // not owned; outlives the form
    RenderFrameworkState* framework = nullptr;         // not owned; outlives the form
    std::string settingsPath;                          // the settings file to read at start-up and write at exit
    std::string helpPath;                              // the help page
    std::string language = kDefaultInterfaceLanguage;  // the interface language, remembered at exit
    std::string guidePath;                             // the user guide
    std::string recoveryFolder;                        // where recovery snapshots go; "" for none
};

// The main window's client area: the render window with the four views, the
// panels at their fixed places, and the state the views are drawn from (view
// records, display switches, colours, grid). It is the rendering framework's
// program (its hooks draw the views) and forwards the mouse to the session's
// mouse controller; the panels subscribe to the session's events themselves.
// It draws only when something changed.
class CAppForm : public QWidget, public CRenderApp, private RenderAppHost, private MouseControllerObserver {
    Q_OBJECT
public:
    explicit CAppForm(AppEnvironment environment, QWidget* parent = nullptr);
    ~CAppForm() override;

    // The scene side of the start-up: creates the panels (hidden until the
    // first frame), sets the default views, connects the mesh library to the
    // render device, reads the settings file, builds the grid and fits the
    // views to the scene.
    void OnInitialUpdate();
    // Writes the settings file from the current values; the failure says why
    // it could not be written.
    Outcome SaveSettings();
    // The end of the frame's life: destroys the panels and empties the scene.
    void DestroyPanelsAndScene();
    // Opens or adds the file named on the command line, by its name.
    void OpenStartupFile(const std::string& path);
    // Files dropped on the window: one project (after a question) or one model file
    // (another program's model with its tree and animations when asModel: Shift held).
    void FilesDropped(const std::vector<std::string>& paths, bool asModel = false);
    // Replaces the scene with the project at path; a failure is shown.
    void OpenProjectFile(const std::string& path);

    // The commands' actions the panels' buttons use; set before OnInitialUpdate.
    void UseCommandActions(CommandActions& actions) { commandActions = &actions; }
    // The hosted panel of type Panel (the first view's for the views' toolbars);
    // nullptr before OnInitialUpdate and after DestroyPanelsAndScene.
    template <typename Panel>
    Panel* HostedPanel() const
    {
        return panels.First<Panel>();
    }

    // Menu commands.
    void ChangeColours();
    void ShowHelp();
    void ShowGuide();
    void ShowVersionDialog();

    // Where the render window and the panels go for the current client size.
    void PlacePanels();
    // Asks for one frame to be drawn.
    void RequestRedraw();

    // From the render window.
    void DeviceContextReady(QOpenGLContext* context);
    void DeviceContextLost();
    void RunFrame();
    void RenderMousePress(QMouseEvent& event);
    void RenderMouseRelease(QMouseEvent& event);
    void RenderMouseMove(QMouseEvent& event);
    void RenderWheel(QWheelEvent& event);

    EditorSession& Session() { return *environment.session; }
    Scene& GetScene();
    ViewState& Views() { return views; }
    ViewDisplays& Displays();
    ColourTable& Colours();
    // Rebuilds the grid from the grid width and the GRID colour.
    void RebuildGrid();
    // The settings file's values between start-up and exit; the ones no
    // panel or view owns (folders, export time scale) are kept only here.
    SettingsValues& Settings() { return settingsValues; }
    RenderWidget* RenderWindow() const { return renderWindow; }
    GlRenderDevice& Device() { return renderDevice; }
    const FirstFrameStages& Stages() const { return stages; }
    const MouseController& Mouse() const { return *mouse; }
    // How many frames were drawn since start.
    int FramesDrawn() const { return framesDrawn; }

    // Opens an address in the desktop's browser; tests replace it.
    std::function<bool(const QUrl&)> openUrl;

    // Rendering framework hooks.
    HResult AdjustDeviceWindow() override;
    HResult RestoreDeviceState() override;
    HResult AdvanceFrame() override;
    HResult Render() override;

    // The bottom panels' size the user chose (fitted to the window when laid out).
    BottomPanelsSize WantedBottomPanels() const { return wantedBottomPanels; }
    void SetWantedBottomPanels(BottomPanelsSize size);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The splitter between the views and the bottom panels.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The splitter's grips, so that the bands that size the panels show.
    void paintEvent(QPaintEvent* event) override;
    // The pivot key, held while the main window has the keys.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // RenderAppHost
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    m3d::ClientRect GetClientRect(WindowHandle window) override;

    // MouseControllerObserver
    void SetMouseCapture(bool captured) override;
    void SetDisplayToolbarsVisible(bool visible) override;
    void ViewRectsChanged() override;
    void FocusMainForm() override;

    // Every change of the session may change the picture; the title goes to the window.
    void SessionChanged(const EditorEvent& event);
    // The bottom panels as the user wanted them, with the curve strip while
    // shown, fitted to the client area.
    BottomPanelsSize FittedPanels() const;
    // Moves the render window to render and resizes the device and the views with it.
    void ResizeRenderWindow(const PixelRect& render);
    void LoadSettings();
    void FitViews();
    // Help documents: a missing file or a browser that does not start is said.
    void OpenDocument(const std::string& path);
    void EndAfterFatalError();
    void RunFirstFrameStage(FirstFrameStage stage);
    // Shows the toolbars of the views shown and places them when the layout
    // switch changed the view mode or the maximised view.
    void FollowViewLayout();

    AppEnvironment environment;
    ViewState& views;  // the session's
    GridGeometry grid;
    SettingsValues settingsValues;
    FirstFrameStages stages;
    GlRenderDevice renderDevice;
    std::unique_ptr<GlGraphicsDriver> graphicsDriver;
    std::unique_ptr<MouseController> mouse;
    std::unique_ptr<ViewNavigation> navigation;
    QtUserPrompt prompt{this};
    std::unique_ptr<TextureLoadReport> textureLoads;
    std::unique_ptr<MotionPathDisplay> motionPath;
    EditorSubscription subscription;
    int framesDrawn = 0;

    RenderWidget* renderWindow = nullptr;
    HostedPanels panels;
    CommandActions* commandActions = nullptr;
    int gridWidthBuilt = 0;  // the width the grid was last built for
    BottomPanelsSize wantedBottomPanels;
    PanelSplitterDrag splitterDrag;
    std::pair<int, int> toolbarLayout{1, 0};  // the view mode and maximised view the toolbars show
};

}  // namespace m3d
