#include "render/CRenderApp.h"

#include <algorithm>

namespace m3d {

namespace {

struct ComboChoice {
    int adapter = -1;
    int device = -1;
    int combo = -1;
};

// Catalogue order decides among equals; a HAL device beats the others, and a
// HAL combination whose back buffer has the display's format ends the search.
ComboChoice FindBestWindowedCombo(const std::vector<AdapterEntry>& adapters, GraphicsFormat desktopFormat,
                                  bool requireHal, bool requireRef)
{
    ComboChoice choice;
    const FormatCombo* best = nullptr;
    for (size_t a = 0; a < adapters.size(); ++a) {
        for (size_t d = 0; d < adapters[a].devices.size(); ++d) {
            const DeviceEntry& entry = adapters[a].devices[d];
            if (requireHal && entry.deviceType != DeviceType::Hal) continue;
            if (requireRef && entry.deviceType != DeviceType::Reference) continue;
            for (size_t c = 0; c < entry.combos.size(); ++c) {
                const FormatCombo& combo = entry.combos[c];
                if (!combo.windowed || combo.adapterFormat != desktopFormat) continue;
                const bool hal = combo.deviceType == DeviceType::Hal;
                const bool formatsMatch = combo.backBufferFormat == combo.adapterFormat;
                if (best && !(best->deviceType != DeviceType::Hal && hal) && !(hal && formatsMatch)) continue;
                best = &combo;
                choice = {static_cast<int>(a), static_cast<int>(d), static_cast<int>(c)};
                if (hal && formatsMatch) return choice;
            }
        }
    }
    return choice;
}

}  // namespace

CRenderApp::CRenderApp(RenderFrameworkState& frameworkState, RenderAppHost& appHost)
    : framework(frameworkState), host(appHost)
{
    framework.instance = this;
    SetPaused(true);
}

CRenderApp::~CRenderApp()
{
    if (framework.instance == this) framework.instance = nullptr;
}

HResult CRenderApp::AdjustDeviceWindow() { return S_OK; }
HResult CRenderApp::AcceptDevice(const DeviceCaps&, uint32_t, GraphicsFormat) { return S_OK; }
HResult CRenderApp::InitScene() { return S_OK; }
HResult CRenderApp::CreateDeviceObjects() { return S_OK; }
HResult CRenderApp::RestoreDeviceState() { return S_OK; }
HResult CRenderApp::AdvanceFrame() { return S_OK; }
HResult CRenderApp::Render() { return S_OK; }
HResult CRenderApp::InvalidateDeviceState() { return S_OK; }
HResult CRenderApp::DestroyDeviceObjects() { return S_OK; }
HResult CRenderApp::ShutdownScene() { return S_OK; }

HResult CRenderApp::Startup(GraphicsDriver* driver)
{
    direct3d = driver;
    if (!direct3d) return ShowError(AppErrNoDirect3D, ErrorKind::Fatal);

    catalog.requirements.usesDepthBuffer = usesDepthBuffer;
    HResult hr = catalog.Build(direct3d, [this](const DeviceCaps& deviceCaps, uint32_t flags, GraphicsFormat format) {
        return AcceptDevice(deviceCaps, flags, format);
    });
    if (Failed(hr)) {
        ReleaseDirect3D();
        return ShowError(hr, ErrorKind::Fatal);
    }

    if (!focusWindow) focusWindow = deviceWindow;
    clientRect = host.GetClientRect(deviceWindow);

    if (!ChooseWindowedDevice(false, false)) {
        ReleaseDirect3D();
        return ShowError(AppErrNoCompatibleDevices, ErrorKind::Fatal);
    }

    framework.timer.Start();

    hr = InitScene();
    if (Failed(hr)) {
        ReleaseDirect3D();
        return ShowError(hr, ErrorKind::Fatal);
    }
    hr = InitDevice();
    if (Failed(hr)) {
        ReleaseDirect3D();
        return ShowError(hr, ErrorKind::Fatal);
    }
    SetPaused(false);
    return S_OK;
}

void CRenderApp::SetPaused(bool pause)
{
    framework.pauseCount += pause ? 1 : -1;
    active = framework.pauseCount == 0;
    if (pause && framework.pauseCount == 1) framework.timer.Stop();
    if (framework.pauseCount == 0) framework.timer.Start();
}

bool CRenderApp::ChooseWindowedDevice(bool requireHal, bool requireRef)
{
    if (!direct3d) return false;
    DisplayMode desktop;
    if (Failed(direct3d->GetAdapterDisplayMode(0, desktop))) return false;

    const ComboChoice choice = FindBestWindowedCombo(catalog.Adapters(), desktop.format, requireHal, requireRef);
    if (choice.adapter < 0) return false;
    const FormatCombo* best = &catalog.Adapters()[choice.adapter].devices[choice.device].combos[choice.combo];

    settings.windowed = true;
    settings.adapterIndex = choice.adapter;
    settings.deviceIndex = choice.device;
    settings.comboIndex = choice.combo;
    settings.displayMode = desktop;
    settings.windowWidth = static_cast<uint32_t>(std::max(0, clientRect.Width()));
    settings.windowHeight = static_cast<uint32_t>(std::max(0, clientRect.Height()));
    settings.depthStencilFormat = usesDepthBuffer && !best->depthStencilFormats.empty()
                                      ? best->depthStencilFormats.front()
                                      : GraphicsFormat::Unknown;
    settings.multiSampleType = best->multiSampleTypes.empty() ? D3DMULTISAMPLE_NONE : best->multiSampleTypes.front();
    settings.multiSampleQuality = 0;
    settings.vertexProcessing =
        best->vertexProcessingTypes.empty() ? VertexProcessing::Software : best->vertexProcessingTypes.front();
    settings.presentInterval =
        best->presentIntervals.empty() ? D3DPRESENT_INTERVAL_DEFAULT : best->presentIntervals.front();
    return true;
}

void CRenderApp::FillPresentParams()
{
    const FormatCombo* combo = ChosenCombo();
    presentParams = PresentParams();
    presentParams.windowed = settings.windowed;
    presentParams.backBufferCount = 1;
    presentParams.multiSampleType = settings.multiSampleType;
    presentParams.multiSampleQuality = settings.multiSampleQuality;
    presentParams.swapEffect = D3DSWAPEFFECT_DISCARD;
    presentParams.deviceWindow = deviceWindow;
    presentParams.enableAutoDepthStencil = usesDepthBuffer;
    if (usesDepthBuffer) {
        presentParams.autoDepthStencilFormat = settings.depthStencilFormat;
        presentParams.flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    }
    presentParams.backBufferWidth = static_cast<uint32_t>(std::max(0, clientRect.Width()));
    presentParams.backBufferHeight = static_cast<uint32_t>(std::max(0, clientRect.Height()));
    presentParams.backBufferFormat = combo ? combo->backBufferFormat : GraphicsFormat::Unknown;
    presentParams.fullScreenRefreshRate = 0;
    presentParams.presentationInterval = settings.presentInterval;
}

HResult CRenderApp::InitDevice()
{
    const DeviceEntry* chosenDevice = ChosenDevice();
    const FormatCombo* combo = ChosenCombo();
    if (!direct3d || !chosenDevice || !combo) return E_FAIL;

    AdjustDeviceWindow();
    FillPresentParams();
    if (chosenDevice->caps.primitiveMiscCaps & D3DPMISCCAPS_NULLREFERENCE)
        ShowError(AppErrNullRefDevice, ErrorKind::Warning);

    const uint32_t behaviourFlags = BehaviourFlagsFor(settings.vertexProcessing);
    const DeviceType deviceType = combo->deviceType;
    std::unique_ptr<GraphicsDevice> created;
    HResult hr =
        direct3d->CreateDevice(combo->adapterOrdinal, deviceType, focusWindow, behaviourFlags, presentParams, created);
    if (Succeeded(hr) && !created) hr = E_FAIL;  // a driver that claims success without a device
    if (Succeeded(hr)) {
        device = std::move(created);
        device->GetDeviceCaps(caps);
        createFlags = behaviourFlags;
        device->GetBackBufferDesc(backBufferDesc);
        hr = CreateDeviceObjects();
        if (Failed(hr)) {
            DestroyDeviceObjects();
        } else {
            deviceObjectsCreated = true;
            hr = RestoreDeviceState();
            if (Failed(hr)) {
                InvalidateDeviceState();
            } else {
                deviceStateRestored = true;
                return S_OK;
            }
        }
        ReleaseDevice();
    }

    if (deviceType == DeviceType::Hal && ChooseWindowedDevice(false, true)) {
        AdjustDeviceWindow();
        ShowError(hr, ErrorKind::SwitchedToReference);
        return InitDevice();
    }
    return hr;
}

HResult CRenderApp::ResetDevice()
{
    if (!device) return E_FAIL;
    if (deviceStateRestored) {
        deviceStateRestored = false;
        InvalidateDeviceState();
    }
    HResult hr = device->Reset(presentParams);
    if (Failed(hr)) return hr;
    device->GetBackBufferDesc(backBufferDesc);
    hr = RestoreDeviceState();
    if (Failed(hr)) {
        InvalidateDeviceState();
        return hr;
    }
    deviceStateRestored = true;
    return S_OK;
}

void CRenderApp::ReleaseDevice()
{
    if (!device) return;
    if (deviceStateRestored) {
        deviceStateRestored = false;
        InvalidateDeviceState();
    }
    if (deviceObjectsCreated) {
        deviceObjectsCreated = false;
        DestroyDeviceObjects();
    }
    if (device->Release() > 0) ShowError(AppErrNonZeroRefCount, ErrorKind::Fatal);
    device.reset();
}

void CRenderApp::ReleaseDirect3D() { direct3d = nullptr; }

HResult CRenderApp::StepFrame()
{
    if (!device) return E_FAIL;
    if (deviceLost) {
        const HResult hr = device->TestCooperativeLevel();
        if (hr == D3DERR_DEVICELOST) return S_OK;
        if (hr == D3DERR_DEVICENOTRESET) {
            // The desktop may have changed its mode while the device was lost.
            const AdapterEntry* adapter = ChosenAdapter();
            if (settings.windowed && adapter && direct3d &&
                Succeeded(direct3d->GetAdapterDisplayMode(adapter->adapterOrdinal, settings.displayMode)))
                presentParams.backBufferFormat = settings.displayMode.format;
            return ResetDevice();
        }
        if (Failed(hr)) return hr;
        deviceLost = false;
    }

    const float elapsed = framework.timer.ElapsedSeconds();
    if (elapsed == 0.0f) return S_OK;
    elapsedTime = elapsed;

    HResult hr = AdvanceFrame();
    if (Failed(hr)) return hr;
    hr = Render();
    if (Failed(hr)) return hr;
    if (device->Present(deviceWindow) == D3DERR_DEVICELOST) deviceLost = true;
    return S_OK;
}

HResult CRenderApp::ShowError(HResult code, ErrorKind kind)
{
    if (framework.exiting) return code;
    if (kind == ErrorKind::Fatal) framework.exiting = true;
    host.ShowMessage(RenderErrorText(code, kind), windowTitle,
                     kind == ErrorKind::Fatal ? MessageIcon::Error : MessageIcon::Warning);
    return code;
}

const AdapterEntry* CRenderApp::ChosenAdapter() const
{
    const auto& adapters = catalog.Adapters();
    if (settings.adapterIndex < 0 || settings.adapterIndex >= static_cast<int>(adapters.size())) return nullptr;
    return &adapters[settings.adapterIndex];
}

const DeviceEntry* CRenderApp::ChosenDevice() const
{
    const AdapterEntry* adapter = ChosenAdapter();
    if (!adapter || settings.deviceIndex < 0 || settings.deviceIndex >= static_cast<int>(adapter->devices.size()))
        return nullptr;
    return &adapter->devices[settings.deviceIndex];
}

const FormatCombo* CRenderApp::ChosenCombo() const
{
    const DeviceEntry* entry = ChosenDevice();
    if (!entry || settings.comboIndex < 0 || settings.comboIndex >= static_cast<int>(entry->combos.size()))
        return nullptr;
    return &entry->combos[settings.comboIndex];
}

}  // namespace m3d
