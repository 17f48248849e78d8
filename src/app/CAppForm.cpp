#include "app/CAppForm.h"

#include "app/ColourDialog.h"
#include "app/CommandIds.h"
#include "app/GlGraphicsDriver.h"
#include "app/PartCommandDialogs.h"
#include "app/RenderWidget.h"
#include "app/TextureLoadReport.h"
#include "app/VersionDialog.h"
#include "editor/PartCommands.h"
#include "editor/ProgramArguments.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/HelpCommands.h"
#include "editor/ModelImportCommands.h"
#include "editor/MotionPathDisplay.h"
#include "editor/OnionSkin.h"
#include "editor/OptionCommands.h"
#include "settings/AppSettings.h"
#include "view/DeviceState.h"
#include "view/SettingsBinding.h"
#include "view/ViewRenderer.h"
#include "view/WindowLayout.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QPainter>
#include <QMimeData>
#include <QResizeEvent>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>
#include <cstdio>

namespace m3d {

namespace {

// Every owner of a settings value exists in this program, so every key is
// read and written; values whose panels come later keep their file value.
const SettingsOwners kAllOwners{};

}  // namespace

CAppForm::CAppForm(AppEnvironment env, QWidget* parent)
    : QWidget(parent),
      CRenderApp(*env.framework, *this),
      openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      environment(std::move(env)),
      views(environment.session->Views())
{
    CRenderApp::windowTitle = "Marionettica3D";
    usesDepthBuffer = true;
    setObjectName(IdName(IDD_FORM));
    setAcceptDrops(true);
    setMouseTracking(true);  // the cursor shows the splitter above the bottom panels
    setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    renderWindow = new RenderWidget(*this, this);
    mouse = std::make_unique<MouseController>(*environment.session, style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    mouse->SetObserver(this);
    navigation = std::make_unique<ViewNavigation>(*environment.session);
    motionPath = std::make_unique<MotionPathDisplay>(*environment.session);
    grid = BuildGrid(views.gridWidth, 0xFF808080);
}

CAppForm::~CAppForm()
{
    subscription.Reset();
    textureLoads.reset();
    motionPath.reset();
    if (environment.session != nullptr) environment.session->GetScene().SetRenderDevice(nullptr);
    // The device goes while its context still exists.
    if (renderWindow->context() != nullptr) {
        renderWindow->makeCurrent();
        ReleaseDevice();
        renderWindow->doneCurrent();
    }
    ReleaseDirect3D();
    ShutdownScene();
    delete renderWindow;
    renderWindow = nullptr;
}

void CAppForm::OnInitialUpdate()
{
    Scene& scene = GetScene();
    panels.Create({Session(), *commandActions, *navigation, this});
    subscription = Session().Events().Subscribe([this](const EditorEvent& event) { SessionChanged(event); });

    views = ViewState();
    views.fourViewMode = 1;
    views.splitX = views.splitY = 0.5f;
    const PixelRect render = RenderWindowRect(width(), height());
    views.SetRenderSize(render.Width(), render.Height());
    scene.SetRenderDevice(&renderDevice);
    textureLoads = std::make_unique<TextureLoadReport>(scene, this);

    LoadSettings();
    RebuildGrid();
    toolbarLayout = {views.fourViewMode, views.maximisedView};
    FitViews();  // reported as ViewsChanged: the toolbars show the loaded types and switches
}

void CAppForm::LoadSettings()
{
    Scene& scene = GetScene();
    AppSettings file(environment.settingsPath);
    settingsValues = DefaultSettingsValues(ProcessCurrentDirectory());
    if (const Outcome loaded = file.Load(settingsValues, kAllOwners); !loaded)
        std::fprintf(stderr, "marionettica3d: %s (the defaults are used)\n", loaded.Message().c_str());
    ApplySettings(settingsValues, views, Displays(), Colours());
    Session().Playback().SetFramesPerSecond(settingsValues.frameRate);
    Session().Playback().SetRealTime(settingsValues.realTimePlayback);
    Session().Timeline().SetFramePixels(settingsValues.timelineFramePixels);
    Session().Timeline().SetNewKeyInterpolation(
        ParseInterpolation(settingsValues.newKeyInterpolation).value_or(KeyInterpolation::Linear()));
    Session().SetCurvePanelShown(settingsValues.curvePanelShown);
    Session().Posing().SetSpace(settingsValues.localAxes ? AxisSpace::Local : AxisSpace::World);
    Session().Posing().SetRotateSnapDegrees(settingsValues.rotateSnapDegrees);
    Session().Posing().SetMoveSnap(settingsValues.moveSnap);
    Session().Ik().SetEnabled(settingsValues.ik);
    Session().Ik().SetChainLength(settingsValues.ikChainLength);
    SetWantedBottomPanels({settingsValues.motionPanelWidth, settingsValues.motionPanelHeight});
    scene.addObjectDirectory = settingsValues.addObjectDirectory;
    scene.SetTextureBudget(CMeshBase::TextureBudgetOfMegabytes(settingsValues.textureMemoryMegabytes));
    settingsValues.interfaceLanguage = environment.language;  // this run's language is the one remembered at exit
    Session().RecentProjects() = settingsValues.recentProjects;
}

Outcome CAppForm::SaveSettings()
{
    GatherSettings(settingsValues, views, Displays(), Colours());
    settingsValues.frameRate = Session().Playback().FramesPerSecond();
    settingsValues.realTimePlayback = Session().Playback().RealTime();
    settingsValues.timelineFramePixels = Session().Timeline().FramePixels();
    settingsValues.newKeyInterpolation = InterpolationName(Session().Timeline().NewKeyInterpolation());
    settingsValues.curvePanelShown = Session().CurvePanelShown();
    settingsValues.localAxes = Session().Posing().Space() == AxisSpace::Local;
    settingsValues.rotateSnapDegrees = Session().Posing().RotateSnapDegrees();
    settingsValues.moveSnap = Session().Posing().MoveSnap();
    settingsValues.ik = Session().Ik().Enabled();
    settingsValues.ikChainLength = Session().Ik().ChainLength();
    settingsValues.motionPanelWidth = wantedBottomPanels.motionWidth;
    settingsValues.motionPanelHeight = wantedBottomPanels.motionHeight;
    settingsValues.addObjectDirectory = GetScene().addObjectDirectory;
    settingsValues.recentProjects = Session().RecentProjects();
    return AppSettings(environment.settingsPath).Save(settingsValues, kAllOwners);
}

void CAppForm::DestroyPanelsAndScene()
{
    panels.Destroy();
    GetScene().ClearScene();
}

void CAppForm::RebuildGrid()
{
    grid = BuildGrid(views.gridWidth, Colours()[ColourIndex::Grid]);
    gridWidthBuilt = views.gridWidth;
}

ViewDisplays& CAppForm::Displays() { return Session().Displays(); }

ColourTable& CAppForm::Colours() { return Session().Colours(); }

void CAppForm::FitViews()
{
    Session().FitViews();
    RequestRedraw();
}

Scene& CAppForm::GetScene() { return Session().GetScene(); }

void CAppForm::OpenStartupFile(const std::string& path)
{
    switch (ActionForFile(path)) {
    case FileAction::AddPart:
        if (const Outcome added = AddObject(Session(), path); !added) ShowFileError(this, added.Message());
        break;
    case FileAction::OpenProject: OpenProjectFile(path); break;
    case FileAction::OpenModel:
        if (const Expected<ModelImport> opened = OpenModelCommand(Session(), path, {}, prompt); opened)
            ShowModelImportNotes(*opened, prompt);
        else if (!opened.Status().Cancelled())
            ShowFileError(this, opened.Status().Message());
        break;
    case FileAction::None: break;
    }
    RequestRedraw();
}

void CAppForm::OpenProjectFile(const std::string& path)
{
    OpenProjectCommand(Session(), prompt, path);
    RequestRedraw();
}

void CAppForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CAppForm::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    FilesDropped(paths, event->modifiers().testFlag(Qt::ShiftModifier));
}

void CAppForm::FilesDropped(const std::vector<std::string>& paths, bool asModel)
{
    if (const DropOutcome drop = DropFiles(Session(), prompt, paths, asModel); !drop.read)
        ShowFileError(this, drop.read.Message());
    RequestRedraw();
}

void CAppForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlacePanels();
    RequestRedraw();
}

void CAppForm::SetWantedBottomPanels(BottomPanelsSize size)
{
    wantedBottomPanels = size;
    PlacePanels();
    RequestRedraw();
}

BottomPanelsSize CAppForm::FittedPanels() const
{
    BottomPanelsSize wanted = wantedBottomPanels;
    wanted.curvesHeight = environment.session->CurvePanelShown() ? kCurvePanelHeight : 0;
    return FittedBottomPanels(wanted, width(), height());
}

void CAppForm::PlacePanels()
{
    const BottomPanelsSize bottom = FittedPanels();
    const PixelRect render = RenderWindowRect(width(), height(), bottom);
    if (renderWindow->geometry() != ToQRect(render)) ResizeRenderWindow(render);
    panels.Place(width(), height(), bottom, views);
}

void CAppForm::ResizeRenderWindow(const PixelRect& render)
{
    renderWindow->setGeometry(ToQRect(render));
    if (device) {
        const double ratio = renderWindow->devicePixelRatioF();
        presentParams.backBufferWidth = uint32_t(std::lround(render.Width() * ratio));
        presentParams.backBufferHeight = uint32_t(std::lround(render.Height() * ratio));
        ResetDevice();  // a failed reset is retried by the next device-loss cycle
    }
    views.SetRenderSize(render.Width(), render.Height());
}

void CAppForm::RequestRedraw()
{
    if (renderWindow != nullptr) renderWindow->RequestFrame();
}

void CAppForm::ChangeColours()
{
    ColourDialog dialog(Colours(), this);
    // A picked grid colour shows in the views while the dialog is open.
    dialog.gridColourPicked = [this](uint32_t colour) {
        grid = BuildGrid(views.gridWidth, colour);
        RequestRedraw();
    };
    if (dialog.exec() == QDialog::Accepted) ApplyColoursCommand(Session(), dialog.Colours());
    // After Cancel the grid goes back to the table's colour.
    RebuildGrid();
    RequestRedraw();
}

void CAppForm::ShowHelp() { OpenDocument(environment.helpPath); }

void CAppForm::ShowGuide() { OpenDocument(environment.guidePath); }

void CAppForm::OpenDocument(const std::string& path)
{
    OpenHelpDocument(
        path, [this](const std::string& file) { return openUrl(QUrl::fromLocalFile(QString::fromStdString(file))); },
        prompt);
}

void CAppForm::ShowVersionDialog()
{
    VersionDialog dialog(this);
    dialog.exec();
}

void CAppForm::DeviceContextReady(QOpenGLContext* /*context*/)
{
    // A context made again (the window moved to another screen or parent)
    // gets a new device on the same framework.
    graphicsDriver = std::make_unique<GlGraphicsDriver>(*renderWindow, renderDevice);
    deviceWindow = static_cast<QWidget*>(renderWindow);
    HResult hr = S_OK;
    if (direct3d == nullptr && !active) {
        hr = Startup(graphicsDriver.get());
    } else {
        direct3d = graphicsDriver.get();
        hr = InitDevice();
        if (Failed(hr)) ShowError(hr, ErrorKind::Fatal);
    }
    if (Failed(hr)) EndAfterFatalError();
}

void CAppForm::EndAfterFatalError()
{
    // The frame closes as usual (the settings are written), then the program ends.
    QTimer::singleShot(0, qApp, [this] {
        if (QWidget* top = window(); top != this) top->close();
        QApplication::exit(1);
    });
}

void CAppForm::DeviceContextLost() { ReleaseDevice(); }

void CAppForm::RunFrame()
{
    if (!active) return;
    const double ratio = renderWindow->devicePixelRatioF();
    renderDevice.SetTargetSize(int(std::lround(renderWindow->width() * ratio)),
                               int(std::lround(renderWindow->height() * ratio)), ratio);
    StepFrame();
}

HResult CAppForm::AdjustDeviceWindow()
{
    deviceWindow = static_cast<QWidget*>(renderWindow);
    return S_OK;
}

HResult CAppForm::RestoreDeviceState()
{
    m3d::RestoreDeviceState(renderDevice, views.lightDirection);
    return S_OK;
}

HResult CAppForm::AdvanceFrame()
{
    ++framesDrawn;
    if (MotionPanel* motion = panels.First<MotionPanel>()) motion->FrameDrawn();
    const FirstFrameStage stage = stages.Advance();
    if (stage == FirstFrameStage::None) return S_OK;
    // Widgets are not shown or changed from inside a paint: the stage runs
    // right after this frame, and asks for the next one.
    QTimer::singleShot(0, this, [this, stage] {
        RunFirstFrameStage(stage);
        RequestRedraw();
    });
    return S_OK;
}

void CAppForm::RunFirstFrameStage(FirstFrameStage stage)
{
    if (stage == FirstFrameStage::ShowPanels) {
        panels.Show(views);
        PlacePanels();
        // The keys start with the main window, not with the first field of a panel.
        setFocus(Qt::OtherFocusReason);
    } else if (stage == FirstFrameStage::CheckTreeAndActivateToolbars) {
        CheckEveryTreeItem(GetScene());
        panels.RaiseViewPanels();
    }
}

HResult CAppForm::Render()
{
    const std::vector<PoseGhost> ghosts = OnionSkinGhosts(Session());
    const std::optional<GizmoShown> gizmo = Session().Posing().Shown();
    const PathDrawing pins = Session().Ik().PinMarks();
    RenderViews(renderDevice, {views, Displays(), Colours(), grid, GetScene(), Session().CurrentPart(), &ghosts,
                               motionPath->Drawing(), &pins, gizmo ? &*gizmo : nullptr});
    return S_OK;
}

void CAppForm::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QString::fromStdString(caption), QString::fromStdString(text));
    box.exec();
}

m3d::ClientRect CAppForm::GetClientRect(WindowHandle window)
{
    const auto* widget = static_cast<QWidget*>(window);
    if (widget == nullptr) return {};
    const double ratio = widget->devicePixelRatioF();
    return {0, 0, int(std::lround(widget->width() * ratio)), int(std::lround(widget->height() * ratio))};
}

namespace {

MouseKey KeysOf(const QMouseEvent& event)
{
    MouseKey keys = MouseKey::None;
    if (event.buttons() & Qt::LeftButton) keys |= MouseKey::Left;
    if (event.buttons() & Qt::RightButton) keys |= MouseKey::Right;
    if (event.buttons() & Qt::MiddleButton) keys |= MouseKey::Middle;
    if (event.modifiers() & Qt::ShiftModifier) keys |= MouseKey::Shift;
    if (event.modifiers() & Qt::ControlModifier) keys |= MouseKey::Control;
    if (event.modifiers() & Qt::AltModifier) keys |= MouseKey::Alt;
    return keys;
}

Qt::CursorShape QtCursor(CursorShape shape)
{
    switch (shape) {
    case CursorShape::SizeAll: return Qt::SizeAllCursor;
    case CursorShape::SizeNS: return Qt::SizeVerCursor;
    case CursorShape::SizeWE: return Qt::SizeHorCursor;
    case CursorShape::Arrow: break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

// The render window's own coordinates are the views' pixel coordinates.
void CAppForm::RenderMousePress(QMouseEvent& event)
{
    const QPoint p = event.position().toPoint();
    if (event.button() == Qt::LeftButton)
        mouse->LeftButtonDown(p.x(), p.y(), KeysOf(event));
    else if (event.button() == Qt::RightButton)
        mouse->RightButtonDown(p.x(), p.y());
    else if (event.button() == Qt::MiddleButton)
        navigation->MiddleButtonDown(p.x(), p.y());
    RequestRedraw();
}

void CAppForm::RenderMouseRelease(QMouseEvent& event)
{
    const QPoint p = event.position().toPoint();
    if (event.button() == Qt::LeftButton)
        mouse->LeftButtonUp(p.x(), p.y());
    else if (event.button() == Qt::RightButton)
        mouse->RightButtonUp(p.x(), p.y());
    else if (event.button() == Qt::MiddleButton)
        navigation->MiddleButtonUp();
    RequestRedraw();
}

void CAppForm::RenderMouseMove(QMouseEvent& event)
{
    const QPoint p = event.position().toPoint();
    const MouseKey keys = KeysOf(event);
    const GizmoHandle hovered = Session().Posing().Hovered();
    mouse->MouseMove(p.x(), p.y(), keys);
    if (HasAny(keys, MouseKey::Middle)) navigation->MiddleButtonMove(p.x(), p.y());
    if (Session().Posing().Hovered() != hovered) RequestRedraw();
    if (HasAny(keys, MouseKey::Left | MouseKey::Right)) {
        RequestRedraw();
    } else {
        const Qt::CursorShape shape = QtCursor(mouse->Cursor());
        if (renderWindow->cursor().shape() != shape) renderWindow->setCursor(shape);
    }
}

void CAppForm::RenderWheel(QWheelEvent& event)
{
    const QPoint p = event.position().toPoint();
    if (mouse->Wheel(event.angleDelta().y())) {
        RequestRedraw();
        return;
    }
    navigation->Wheel(p.x(), p.y(), event.angleDelta().y());
}

void CAppForm::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && splitterDrag.Press(p.x(), p.y(), width(), height(), FittedPanels()))
        return;
    QWidget::mousePressEvent(event);
}

void CAppForm::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (splitterDrag.Active()) {
        SetWantedBottomPanels(splitterDrag.SizeAt(p.x(), p.y(), width(), height()));
        return;
    }
    const PanelSplitterHandle handle = PanelSplitterAt(p.x(), p.y(), width(), height(), FittedPanels());
    const Qt::CursorShape shape = handle == PanelSplitterHandle::Height  ? Qt::SplitVCursor
                                  : handle == PanelSplitterHandle::Width ? Qt::SplitHCursor
                                                                         : Qt::ArrowCursor;
    if (cursor().shape() != shape) setCursor(shape);
}

void CAppForm::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && splitterDrag.Active()) {
        splitterDrag.Release();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void CAppForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor grip = palette().color(QPalette::Mid);
    for (PanelSplitterHandle handle : {PanelSplitterHandle::Height, PanelSplitterHandle::Width}) {
        const PixelRect band = PanelSplitterRect(handle, width(), height(), FittedPanels());
        if (band.Width() <= 0) continue;
        // Two short ridges across the band's middle, as a grip is drawn.
        const bool across = handle == PanelSplitterHandle::Height;
        const int cx = (band.left + band.right) / 2, cy = (band.top + band.bottom) / 2;
        painter.setPen(QPen(grip, 1));
        for (int offset : {-1, 1}) {
            if (across)
                painter.drawLine(cx - 20, cy + offset, cx + 20, cy + offset);
            else
                painter.drawLine(cx + offset, cy - 20, cx + offset, cy + 20);
        }
    }
}

void CAppForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_P || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && Session().Posing().SetPivotKeyHeld(true)) RequestRedraw();
}

void CAppForm::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_P) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && Session().Posing().SetPivotKeyHeld(false)) RequestRedraw();
}

void CAppForm::focusOutEvent(QFocusEvent* event)
{
    // A release that goes to another window is never seen here.
    if (Session().Posing().SetPivotKeyHeld(false)) RequestRedraw();
    QWidget::focusOutEvent(event);
}

void CAppForm::SetMouseCapture(bool captured)
{
    // Qt keeps the pressed widget as the mouse grabber by itself; an explicit
    // grab would outlive a release that happens outside the window.
    Q_UNUSED(captured);
}

void CAppForm::SetDisplayToolbarsVisible(bool visible)
{
    panels.SetViewPanelsVisible(visible, views);
    if (visible) PlacePanels();
}

void CAppForm::ViewRectsChanged()
{
    PlacePanels();
    RequestRedraw();
}

void CAppForm::FocusMainForm() { setFocus(Qt::MouseFocusReason); }

void CAppForm::SessionChanged(const EditorEvent& event)
{
    OnEvent<TitleChanged>(event, [this](const TitleChanged& e) {
        if (QWidget* top = window(); top != this) top->setWindowTitle(QString::fromStdString(e.title));
    });
    // The curve panel's strip takes its height from the views while shown.
    OnEvent<PreferencesChanged>(event, [this](const PreferencesChanged&) { PlacePanels(); });
    OnEvent<ViewsChanged>(event, [this](const ViewsChanged&) {
        FollowViewLayout();
        if (views.gridWidth != gridWidthBuilt) RebuildGrid();
        SetDeviceLight(renderDevice, views.lightDirection);
    });
    if (textureLoads) textureLoads->SessionChanged();
    RequestRedraw();
}

void CAppForm::FollowViewLayout()
{
    const std::pair<int, int> layout{views.fourViewMode, views.maximisedView};
    if (layout == toolbarLayout) return;
    toolbarLayout = layout;
    // Before the first frame the toolbars stay hidden; it shows them as the layout says.
    if (stages.Count() > 0) SetDisplayToolbarsVisible(true);
}

}  // namespace m3d
