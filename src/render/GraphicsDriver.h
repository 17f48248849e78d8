#pragma once

#include "render/GraphicsTypes.h"
#include "render/ResultCodes.h"

#include <memory>
#include <vector>

namespace m3d {

// A created device: the part of it the rendering framework manages (loss,
// reset, present, release). Drawing goes through the render device interface.
class GraphicsDevice {
public:
    virtual ~GraphicsDevice() = default;

    // S_OK while the device can draw; D3DERR_DEVICELOST while it is lost and
    // cannot be reset yet; D3DERR_DEVICENOTRESET once a Reset may succeed.
    virtual HResult TestCooperativeLevel() = 0;
    // Rebuilds the swap chain with params (the driver may fill in sizes it
    // chose). Fails with D3DERR_DEVICELOST while the device is still lost.
    virtual HResult Reset(PresentParams& params) = 0;
    // Shows the whole back buffer in destination (nullptr: the device window).
    // D3DERR_DEVICELOST when the device was lost.
    virtual HResult Present(WindowHandle destination) = 0;
    virtual HResult GetDeviceCaps(DeviceCaps& caps) = 0;
    virtual HResult GetBackBufferDesc(SurfaceDesc& desc) = 0;
    // Gives up the framework's reference. Returns how many references other
    // holders still keep (0 when everything was cleaned up). The owner destroys
    // the object afterwards.
    virtual uint32_t Release() = 0;
};

// The graphics system: adapters, their display modes, what they support, and
// device creation. Adapters are numbered from 0; calls with an ordinal at or
// beyond GetAdapterCount() fail with D3DERR_INVALIDCALL.
class GraphicsDriver {
public:
    virtual ~GraphicsDriver() = default;

    virtual uint32_t GetAdapterCount() = 0;
    virtual HResult GetAdapterIdentifier(uint32_t adapter, AdapterIdentifier& identifier) = 0;
    // The full-screen modes of adapter in format (empty when none or unknown).
    virtual std::vector<DisplayMode> GetAdapterModes(uint32_t adapter, GraphicsFormat format) = 0;
    // The adapter's current (desktop) mode.
    virtual HResult GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode) = 0;
    // Capabilities of a device type on adapter; fails when the type is not available.
    virtual HResult GetDeviceCaps(uint32_t adapter, DeviceType type, DeviceCaps& caps) = 0;
    // Whether a device of type can run with this display and back-buffer format,
    // windowed or full screen. Windowed use needs the adapter's desktop format.
    virtual HResult CheckDeviceType(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                    GraphicsFormat backBufferFormat, bool windowed) = 0;
    // Whether depthStencilFormat can be a depth/stencil surface on adapter.
    virtual HResult CheckDepthStencilSupport(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                             GraphicsFormat depthStencilFormat) = 0;
    // Whether depthStencilFormat can be used with a render target of renderTargetFormat.
    virtual HResult CheckDepthStencilMatch(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                           GraphicsFormat renderTargetFormat, GraphicsFormat depthStencilFormat) = 0;
    // Whether surfaces of surfaceFormat (a colour or a depth/stencil format)
    // support multiSampleType; on success *qualityLevels (when not null) is the
    // number of quality levels.
    virtual HResult CheckMultiSampleType(uint32_t adapter, DeviceType type, GraphicsFormat surfaceFormat, bool windowed,
                                         uint32_t multiSampleType, uint32_t* qualityLevels) = 0;
    // Creates a device. On success device holds it; on failure device stays
    // empty and the result says why (D3DERR_NOTAVAILABLE, E_OUTOFMEMORY, ...).
    virtual HResult CreateDevice(uint32_t adapter, DeviceType type, WindowHandle focusWindow, uint32_t behaviourFlags,
                                 PresentParams& params, std::unique_ptr<GraphicsDevice>& device) = 0;
};

}  // namespace m3d
