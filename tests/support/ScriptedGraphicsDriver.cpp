#include "support/ScriptedGraphicsDriver.h"

#include <algorithm>

namespace m3d {

// Shared by the driver and the device it made, so either may go first.
struct ScriptedGraphicsDriver::State {
    enum class DeviceLoss { None, Lost, NeedsReset };
    std::vector<ScriptedAdapter> adapters;
    std::vector<std::string> journal;
    DeviceLoss loss = DeviceLoss::None;
    std::deque<HResult> resetFailures;
    uint32_t referencesAtRelease = 0;
    bool deviceAlive = false;
    DeviceCaps deviceCaps;
    PresentParams lastParams;
    uint32_t lastBehaviourFlags = 0;
    WindowHandle lastFocusWindow = nullptr;
    int presentCount = 0;
};

namespace {

const char* DeviceTypeName(DeviceType type)
{
    switch (type) {
    case DeviceType::Hal: return "HAL";
    case DeviceType::Reference: return "REF";
    case DeviceType::Software: return "SW";
    }
    return "?";
}

// The back-buffer formats a display format can show: itself and its variant
// with alpha. Ten-bit colour works full screen only.
bool BackBufferFits(GraphicsFormat adapterFormat, GraphicsFormat backBufferFormat, bool windowed)
{
    if (adapterFormat == GraphicsFormat::A2R10G10B10) return !windowed && backBufferFormat == adapterFormat;
    if (backBufferFormat == adapterFormat) return true;
    return (adapterFormat == GraphicsFormat::X8R8G8B8 && backBufferFormat == GraphicsFormat::A8R8G8B8) ||
           (adapterFormat == GraphicsFormat::X1R5G5B5 && backBufferFormat == GraphicsFormat::A1R5G5B5);
}

template <typename List, typename Item>
bool Contains(const List& list, const Item& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

using DeviceLoss = ScriptedGraphicsDriver::State::DeviceLoss;

class ScriptedGraphicsDevice : public GraphicsDevice {
public:
    explicit ScriptedGraphicsDevice(std::shared_ptr<ScriptedGraphicsDriver::State> state) : state(std::move(state)) {}

    HResult TestCooperativeLevel() override
    {
        state->journal.push_back("TestCooperativeLevel");
        switch (state->loss) {
        case DeviceLoss::None: return S_OK;
        case DeviceLoss::Lost: return D3DERR_DEVICELOST;
        case DeviceLoss::NeedsReset: return D3DERR_DEVICENOTRESET;
        }
        return E_FAIL;
    }

    HResult Reset(PresentParams& params) override
    {
        state->journal.push_back("Reset");
        if (state->loss == DeviceLoss::Lost) return D3DERR_DEVICELOST;
        if (!state->resetFailures.empty()) {
            const HResult code = state->resetFailures.front();
            state->resetFailures.pop_front();
            state->loss = DeviceLoss::NeedsReset;
            return code;
        }
        state->loss = DeviceLoss::None;
        state->lastParams = params;
        return S_OK;
    }

    HResult Present(WindowHandle) override
    {
        state->journal.push_back("Present");
        if (state->loss != DeviceLoss::None) return D3DERR_DEVICELOST;
        ++state->presentCount;
        return S_OK;
    }

    HResult GetDeviceCaps(DeviceCaps& caps) override
    {
        caps = state->deviceCaps;
        return S_OK;
    }

    HResult GetBackBufferDesc(SurfaceDesc& desc) override
    {
        desc = {state->lastParams.backBufferWidth, state->lastParams.backBufferHeight,
                state->lastParams.backBufferFormat};
        return S_OK;
    }

    uint32_t Release() override
    {
        state->journal.push_back("Release");
        state->deviceAlive = false;
        return state->referencesAtRelease;
    }

private:
    std::shared_ptr<ScriptedGraphicsDriver::State> state;
};

}  // namespace

ScriptedAdapter MakeScriptedAdapter(GraphicsFormat desktopFormat)
{
    ScriptedAdapter adapter;
    adapter.identifier = {"scripted", "Scripted adapter", "display0", 0x1234, 0x5678};
    adapter.desktopMode = {1280, 1024, 60, desktopFormat};
    for (GraphicsFormat format : {GraphicsFormat::X8R8G8B8, GraphicsFormat::R5G6B5}) {
        adapter.modes.push_back({1280, 1024, 60, format});
        adapter.modes.push_back({1024, 768, 75, format});
        adapter.modes.push_back({1024, 768, 60, format});
        adapter.modes.push_back({640, 480, 60, format});
        adapter.modes.push_back({320, 240, 60, format});
    }
    ScriptedDeviceType hal;
    hal.type = DeviceType::Hal;
    hal.caps = {DeviceType::Hal, 0, D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE, 0,
                D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_TWO};
    ScriptedDeviceType software;
    software.type = DeviceType::Software;
    software.capsReadable = false;
    ScriptedDeviceType reference;
    reference.type = DeviceType::Reference;
    reference.caps = {DeviceType::Reference, 0, D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0, D3DPRESENT_INTERVAL_ONE};
    adapter.deviceTypes = {hal, software, reference};
    adapter.depthStencilFormats = {GraphicsFormat::D16, GraphicsFormat::D24X8, GraphicsFormat::D24S8,
                                   GraphicsFormat::D32};
    adapter.multiSampleTypes = {{0, 1}, {2, 4}, {4, 2}};
    return adapter;
}

ScriptedGraphicsDriver::ScriptedGraphicsDriver(std::vector<ScriptedAdapter> adapters)
    : state(std::make_shared<State>())
{
    state->adapters = std::move(adapters);
}

const ScriptedDeviceType* ScriptedGraphicsDriver::FindType(uint32_t adapter, DeviceType type) const
{
    if (adapter >= state->adapters.size()) return nullptr;
    for (const ScriptedDeviceType& t : state->adapters[adapter].deviceTypes)
        if (t.type == type && t.capsReadable) return &t;
    return nullptr;
}

uint32_t ScriptedGraphicsDriver::GetAdapterCount() { return static_cast<uint32_t>(state->adapters.size()); }

HResult ScriptedGraphicsDriver::GetAdapterIdentifier(uint32_t adapter, AdapterIdentifier& identifier)
{
    if (adapter >= state->adapters.size()) return D3DERR_INVALIDCALL;
    identifier = state->adapters[adapter].identifier;
    return S_OK;
}

std::vector<DisplayMode> ScriptedGraphicsDriver::GetAdapterModes(uint32_t adapter, GraphicsFormat format)
{
    std::vector<DisplayMode> modes;
    if (adapter >= state->adapters.size()) return modes;
    for (const DisplayMode& mode : state->adapters[adapter].modes)
        if (mode.format == format) modes.push_back(mode);
    return modes;
}

HResult ScriptedGraphicsDriver::GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode)
{
    if (adapter >= state->adapters.size()) return D3DERR_INVALIDCALL;
    mode = state->adapters[adapter].desktopMode;
    return S_OK;
}

HResult ScriptedGraphicsDriver::GetDeviceCaps(uint32_t adapter, DeviceType type, DeviceCaps& caps)
{
    const ScriptedDeviceType* t = FindType(adapter, type);
    if (!t) return D3DERR_NOTAVAILABLE;
    caps = t->caps;
    return S_OK;
}

HResult ScriptedGraphicsDriver::CheckDeviceType(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                                GraphicsFormat backBufferFormat, bool windowed)
{
    if (!FindType(adapter, type)) return D3DERR_NOTAVAILABLE;
    const ScriptedAdapter& a = state->adapters[adapter];
    if (windowed && adapterFormat != a.desktopMode.format) return D3DERR_NOTAVAILABLE;
    if (!BackBufferFits(adapterFormat, backBufferFormat, windowed)) return D3DERR_NOTAVAILABLE;
    if (Contains(a.rejectedFormatPairs, std::pair(adapterFormat, backBufferFormat))) return D3DERR_NOTAVAILABLE;
    return S_OK;
}

HResult ScriptedGraphicsDriver::CheckDepthStencilSupport(uint32_t adapter, DeviceType type, GraphicsFormat,
                                                         GraphicsFormat depthStencilFormat)
{
    if (!FindType(adapter, type)) return D3DERR_NOTAVAILABLE;
    return Contains(state->adapters[adapter].depthStencilFormats, depthStencilFormat) ? S_OK : D3DERR_NOTAVAILABLE;
}

HResult ScriptedGraphicsDriver::CheckDepthStencilMatch(uint32_t adapter, DeviceType type, GraphicsFormat,
                                                       GraphicsFormat renderTargetFormat,
                                                       GraphicsFormat depthStencilFormat)
{
    if (!FindType(adapter, type)) return D3DERR_NOTAVAILABLE;
    return Contains(state->adapters[adapter].depthMismatches, std::pair(renderTargetFormat, depthStencilFormat))
               ? D3DERR_NOTAVAILABLE
               : S_OK;
}

HResult ScriptedGraphicsDriver::CheckMultiSampleType(uint32_t adapter, DeviceType type, GraphicsFormat surfaceFormat,
                                                     bool, uint32_t multiSampleType, uint32_t* qualityLevels)
{
    if (!FindType(adapter, type)) return D3DERR_NOTAVAILABLE;
    const ScriptedAdapter& a = state->adapters[adapter];
    if (DepthBits(surfaceFormat) > 0 &&
        Contains(a.depthMultiSampleConflicts, std::pair(surfaceFormat, multiSampleType)))
        return D3DERR_NOTAVAILABLE;
    for (const auto& [sampleType, qualities] : a.multiSampleTypes) {
        if (sampleType != multiSampleType) continue;
        if (qualityLevels) *qualityLevels = qualities;
        return S_OK;
    }
    return D3DERR_NOTAVAILABLE;
}

HResult ScriptedGraphicsDriver::CreateDevice(uint32_t adapter, DeviceType type, WindowHandle focusWindow,
                                             uint32_t behaviourFlags, PresentParams& params,
                                             std::unique_ptr<GraphicsDevice>& device)
{
    state->journal.push_back(std::string("CreateDevice ") + DeviceTypeName(type));
    const ScriptedDeviceType* t = FindType(adapter, type);
    if (!t) return D3DERR_NOTAVAILABLE;
    if (Failed(t->createResult)) return t->createResult;
    state->deviceAlive = true;
    state->loss = DeviceLoss::None;
    state->deviceCaps = t->caps;
    state->lastParams = params;
    state->lastBehaviourFlags = behaviourFlags;
    state->lastFocusWindow = focusWindow;
    device = std::make_unique<ScriptedGraphicsDevice>(state);
    return S_OK;
}

std::vector<ScriptedAdapter>& ScriptedGraphicsDriver::Adapters() { return state->adapters; }

void ScriptedGraphicsDriver::LoseDevice() { state->loss = DeviceLoss::Lost; }

void ScriptedGraphicsDriver::AllowReset()
{
    if (state->loss == DeviceLoss::Lost) state->loss = DeviceLoss::NeedsReset;
}

void ScriptedGraphicsDriver::FailNextReset(HResult code) { state->resetFailures.push_back(code); }

void ScriptedGraphicsDriver::LeaveReferencesAtRelease(uint32_t count) { state->referencesAtRelease = count; }

std::vector<std::string>& ScriptedGraphicsDriver::Journal() { return state->journal; }
bool ScriptedGraphicsDriver::DeviceAlive() const { return state->deviceAlive; }
const PresentParams& ScriptedGraphicsDriver::LastPresentParams() const { return state->lastParams; }
uint32_t ScriptedGraphicsDriver::LastBehaviourFlags() const { return state->lastBehaviourFlags; }
WindowHandle ScriptedGraphicsDriver::LastFocusWindow() const { return state->lastFocusWindow; }
int ScriptedGraphicsDriver::PresentCount() const { return state->presentCount; }

}  // namespace m3d
