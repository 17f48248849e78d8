#pragma once

#include "render/DeviceCatalog.h"
#include "render/DeviceSettings.h"
#include "render/GraphicsDriver.h"
#include "render/RenderAppHost.h"
#include "render/RenderErrorText.h"
#include "render/RenderFrameworkState.h"

#include <memory>
#include <string>

namespace m3d {

// The windowed rendering framework: chooses a device from the catalogue,
// creates it for the device window, carries the device state through resets
// and device loss, runs one frame at a time and reports device errors. It
// knows nothing of the scene: the program derives from it and fills the hooks.
//
// Device state: created -> restored; every reset passes restored ->
// invalidated -> restored; release passes invalidated -> destroyed -> released.
class CRenderApp {
public:
    // Registers as framework.instance and pauses once (inactive until Startup
    // succeeds). framework and host must outlive the object.
    CRenderApp(RenderFrameworkState& framework, RenderAppHost& host);
    // Does not release the device (the hooks of a derived class are gone by
    // now): call ReleaseDevice first.
    virtual ~CRenderApp();
    CRenderApp(const CRenderApp&) = delete;
    CRenderApp& operator=(const CRenderApp&) = delete;

    // Hooks. Each returns a result code; the base versions do nothing and succeed.
    // Before every device creation.
    virtual HResult AdjustDeviceWindow();
    // Asked by the catalogue once per candidate vertex-processing type; success accepts.
    virtual HResult AcceptDevice(const DeviceCaps& caps, uint32_t behaviourFlags, GraphicsFormat backBufferFormat);
    // Once, by Startup, before the device exists.
    virtual HResult InitScene();
    // After device creation.
    virtual HResult CreateDeviceObjects();
    // After device creation and after every reset.
    virtual HResult RestoreDeviceState();
    // Once per drawn frame, before Render; elapsedTime holds the frame's seconds.
    virtual HResult AdvanceFrame();
    virtual HResult Render();
    // Before every reset and before release.
    virtual HResult InvalidateDeviceState();
    // Before release.
    virtual HResult DestroyDeviceObjects();
    // Once, when the program tears the framework down.
    virtual HResult ShutdownScene();

    // Builds the catalogue from driver (not owned; must outlive the framework's
    // use of it; null means no graphics system), chooses the windowed device,
    // starts the frame timer, runs InitScene, creates the device and unpauses.
    // Any failure is shown as fatal and returned; the framework stays inactive.
    virtual HResult Startup(GraphicsDriver* driver);
    // Nested pausing: the framework is active only when every pause was undone.
    // The frame timer stops at the first pause and restarts at the last unpause.
    virtual void SetPaused(bool pause);

    // Picks the windowed combination on the desktop format (a HAL device with
    // equal display and back-buffer formats first) and fills settings with the
    // first entry of each of its lists. requireHal/requireRef restrict the
    // device type. Returns false when nothing qualifies.
    bool ChooseWindowedDevice(bool requireHal, bool requireRef);
    // presentParams from settings and the client rectangle.
    void FillPresentParams();
    // Creates the chosen device and its objects and state; a failing HAL device
    // falls back to the reference device with a warning. Returns the failure
    // when no device could be made.
    HResult InitDevice();
    // Resets the device with presentParams: invalidate, reset, restore. A failed
    // reset leaves the state unrestored; the next device-loss cycle retries.
    HResult ResetDevice();
    // Invalidates, destroys and releases the device (nothing without one). A
    // reference left on it is a fatal error.
    void ReleaseDevice();
    // Forgets the graphics driver (the device must be released first).
    void ReleaseDirect3D();
    // One frame: handles device loss, then AdvanceFrame, Render and present.
    // Draws nothing while the device is lost or when no time has elapsed.
    HResult StepFrame();
    // Shows the message of code (unless a fatal error was already shown) and
    // returns code. A fatal error sets the framework's exiting flag.
    HResult ShowError(HResult code, ErrorKind kind);

    // The chosen catalogue entries; null before a choice.
    const AdapterEntry* ChosenAdapter() const;
    const DeviceEntry* ChosenDevice() const;
    const FormatCombo* ChosenCombo() const;

    DeviceSettings settings;
    PresentParams presentParams;
    WindowHandle deviceWindow = nullptr;  // where the device presents
    WindowHandle focusWindow = nullptr;   // given to device creation; deviceWindow when unset
    GraphicsDriver* direct3d = nullptr;   // not owned
    std::unique_ptr<GraphicsDevice> device;
    DeviceCaps caps;           // of the created device
    uint32_t createFlags = 0;  // behaviour flags of the created device
    SurfaceDesc backBufferDesc;
    ClientRect clientRect;     // of the device window at start-up
    float elapsedTime = 0.0f;  // seconds since the previous drawn frame
    bool active = false;
    bool deviceLost = false;
    bool deviceObjectsCreated = false;
    bool deviceStateRestored = false;
    bool usesDepthBuffer = false;  // request an automatic depth/stencil buffer
    std::string windowTitle;       // caption of the error messages
    DeviceCatalog catalog;

protected:
    RenderFrameworkState& framework;
    RenderAppHost& host;
};

}  // namespace m3d
