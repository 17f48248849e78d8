#pragma once

#include "render/GraphicsDriver.h"

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace m3d {

// A graphics driver that plays a script instead of talking to hardware, for
// tests of the rendering framework and of the program built on it.

// A device type as a scripted adapter offers it.
struct ScriptedDeviceType {
    DeviceType type = DeviceType::Hal;
    bool capsReadable = true;  // false: reading the caps fails and the type is unusable
    DeviceCaps caps;
    HResult createResult = S_OK;  // what CreateDevice answers for this type
};

struct ScriptedAdapter {
    AdapterIdentifier identifier;
    DisplayMode desktopMode;
    std::vector<DisplayMode> modes;  // full-screen modes of every format
    std::vector<ScriptedDeviceType> deviceTypes;
    std::vector<GraphicsFormat> depthStencilFormats;  // usable as depth/stencil surfaces
    // (back-buffer format, depth/stencil format) pairs that do not match.
    std::vector<std::pair<GraphicsFormat, GraphicsFormat>> depthMismatches;
    // (multisample type, quality count) pairs colour surfaces support.
    std::vector<std::pair<uint32_t, uint32_t>> multiSampleTypes;
    // (depth/stencil format, multisample type) pairs that cannot go together.
    std::vector<std::pair<GraphicsFormat, uint32_t>> depthMultiSampleConflicts;
    // (display format, back-buffer format) pairs refused although compatible.
    std::vector<std::pair<GraphicsFormat, GraphicsFormat>> rejectedFormatPairs;
};

// A typical adapter: modes from 320x240 (too small) to 1280x1024 in X8R8G8B8
// and R5G6B5, the desktop at 1280x1024 in desktopFormat; a HAL device with
// hardware transform, pure device and the immediate, one and two intervals; a
// software type whose caps cannot be read; a reference device with hardware
// transform and the one interval. Depth formats D16, D24X8, D24S8, D32;
// multisample types 0, 2 and 4.
ScriptedAdapter MakeScriptedAdapter(GraphicsFormat desktopFormat = GraphicsFormat::X8R8G8B8);

class ScriptedGraphicsDriver : public GraphicsDriver {
public:
    explicit ScriptedGraphicsDriver(std::vector<ScriptedAdapter> adapters);

    uint32_t GetAdapterCount() override;
    HResult GetAdapterIdentifier(uint32_t adapter, AdapterIdentifier& identifier) override;
    std::vector<DisplayMode> GetAdapterModes(uint32_t adapter, GraphicsFormat format) override;
    HResult GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) override;
    HResult GetDeviceCaps(uint32_t adapter, DeviceType type, DeviceCaps& caps) override;
    HResult CheckDeviceType(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                            GraphicsFormat backBufferFormat, bool windowed) override;
    HResult CheckDepthStencilSupport(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                     GraphicsFormat depthStencilFormat) override;
    HResult CheckDepthStencilMatch(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                   GraphicsFormat renderTargetFormat, GraphicsFormat depthStencilFormat) override;
    HResult CheckMultiSampleType(uint32_t adapter, DeviceType type, GraphicsFormat surfaceFormat, bool windowed,
                                 uint32_t multiSampleType, uint32_t* qualityLevels) override;
    HResult CreateDevice(uint32_t adapter, DeviceType type, WindowHandle focusWindow, uint32_t behaviourFlags,
                         PresentParams& params, std::unique_ptr<GraphicsDevice>& device) override;

    // The script, editable between calls.
    std::vector<ScriptedAdapter>& Adapters();

    // The created device becomes lost: presenting and the cooperative test
    // answer D3DERR_DEVICELOST, and so does a reset.
    void LoseDevice();
    // The loss is over: the cooperative test answers D3DERR_DEVICENOTRESET
    // until a reset succeeds.
    void AllowReset();
    // The next reset fails with code and leaves the device needing a reset
    // (presenting answers D3DERR_DEVICELOST until then).
    void FailNextReset(HResult code);
    // Releasing the device reports count references still held elsewhere.
    void LeaveReferencesAtRelease(uint32_t count);

    // Device events in order: "CreateDevice HAL", "CreateDevice REF",
    // "TestCooperativeLevel", "Reset", "Present", "Release". Tests may add
    // their own entries to see how the framework's hooks interleave.
    std::vector<std::string>& Journal();
    bool DeviceAlive() const;
    // The present parameters of the last creation or successful reset.
    const PresentParams& LastPresentParams() const;
    uint32_t LastBehaviourFlags() const;
    WindowHandle LastFocusWindow() const;
    int PresentCount() const;

    struct State;

private:
    const ScriptedDeviceType* FindType(uint32_t adapter, DeviceType type) const;

    std::shared_ptr<State> state;
};

}  // namespace m3d
