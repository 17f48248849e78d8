#include "render/SurfaceGraphicsDriver.h"

namespace m3d {

GraphicsFormat DisplayFormatOf(const SurfaceDescription& s)
{
    if (s.redBits == 8 && s.greenBits == 8 && s.blueBits == 8) return GraphicsFormat::X8R8G8B8;
    if (s.redBits == 5 && s.greenBits == 6 && s.blueBits == 5) return GraphicsFormat::R5G6B5;
    if (s.redBits == 5 && s.greenBits == 5 && s.blueBits == 5) return GraphicsFormat::X1R5G5B5;
    if (s.redBits == 10 && s.greenBits == 10 && s.blueBits == 10) return GraphicsFormat::A2R10G10B10;
    return GraphicsFormat::Unknown;
}

GraphicsFormat BackBufferFormatOf(const SurfaceDescription& s)
{
    const GraphicsFormat display = DisplayFormatOf(s);
    if (s.alphaBits <= 0) return display;
    if (display == GraphicsFormat::X8R8G8B8 && s.alphaBits == 8) return GraphicsFormat::A8R8G8B8;
    if (display == GraphicsFormat::X1R5G5B5 && s.alphaBits == 1) return GraphicsFormat::A1R5G5B5;
    if (display == GraphicsFormat::A2R10G10B10 && s.alphaBits == 2) return GraphicsFormat::A2R10G10B10;
    return GraphicsFormat::Unknown;
}

GraphicsFormat DepthStencilFormatOf(const SurfaceDescription& s)
{
    if (s.depthBits == 16 && s.stencilBits <= 0) return GraphicsFormat::D16;
    if (s.depthBits == 24 && s.stencilBits <= 0) return GraphicsFormat::D24X8;
    if (s.depthBits == 24 && s.stencilBits == 8) return GraphicsFormat::D24S8;
    if (s.depthBits == 32 && s.stencilBits <= 0) return GraphicsFormat::D32;
    return GraphicsFormat::Unknown;
}

SurfaceGraphicsDriver::SurfaceGraphicsDriver(SurfaceDescription surface) : surface(std::move(surface)) {}

bool SurfaceGraphicsDriver::IsOurHal(uint32_t adapter, DeviceType type) const
{
    return adapter == 0 && type == DeviceType::Hal;
}

uint32_t SurfaceGraphicsDriver::GetAdapterCount() { return 1; }

HResult SurfaceGraphicsDriver::GetAdapterIdentifier(uint32_t adapter, AdapterIdentifier& identifier)
{
    if (adapter != 0) return D3DERR_INVALIDCALL;
    identifier = AdapterIdentifier();
    identifier.driver = surface.version;
    identifier.description = surface.renderer;
    identifier.deviceName = "display";
    return S_OK;
}

std::vector<DisplayMode> SurfaceGraphicsDriver::GetAdapterModes(uint32_t adapter, GraphicsFormat format)
{
    DisplayMode mode;
    if (adapter != 0 || Failed(GetAdapterDisplayMode(0, mode)) || format != mode.format) return {};
    return {mode};
}

HResult SurfaceGraphicsDriver::GetAdapterDisplayMode(uint32_t adapter, DisplayMode& mode)
{
    if (adapter != 0) return D3DERR_INVALIDCALL;
    mode = {surface.screenWidth, surface.screenHeight, surface.refreshRate, DisplayFormatOf(surface)};
    return S_OK;
}

HResult SurfaceGraphicsDriver::GetDeviceCaps(uint32_t adapter, DeviceType type, DeviceCaps& caps)
{
    if (adapter != 0) return D3DERR_INVALIDCALL;
    if (type != DeviceType::Hal) return D3DERR_NOTAVAILABLE;
    caps = DeviceCaps();
    caps.deviceType = DeviceType::Hal;
    caps.adapterOrdinal = 0;
    // Vertices are transformed by the graphics system's own shaders.
    caps.devCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    caps.presentationIntervals = surface.presentsImmediately ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_ONE;
    return S_OK;
}

HResult SurfaceGraphicsDriver::CheckDeviceType(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                               GraphicsFormat backBufferFormat, bool windowed)
{
    if (adapter != 0) return D3DERR_INVALIDCALL;
    if (!IsOurHal(adapter, type) || !windowed) return D3DERR_NOTAVAILABLE;
    const GraphicsFormat display = DisplayFormatOf(surface);
    if (display == GraphicsFormat::Unknown || adapterFormat != display ||
        backBufferFormat != BackBufferFormatOf(surface))
        return D3DERR_NOTAVAILABLE;
    return S_OK;
}

HResult SurfaceGraphicsDriver::CheckDepthStencilSupport(uint32_t adapter, DeviceType type, GraphicsFormat,
                                                        GraphicsFormat depthStencilFormat)
{
    if (adapter != 0) return D3DERR_INVALIDCALL;
    const GraphicsFormat own = DepthStencilFormatOf(surface);
    return IsOurHal(adapter, type) && own != GraphicsFormat::Unknown && depthStencilFormat == own ? S_OK
                                                                                                  : D3DERR_NOTAVAILABLE;
}

HResult SurfaceGraphicsDriver::CheckDepthStencilMatch(uint32_t adapter, DeviceType type, GraphicsFormat adapterFormat,
                                                      GraphicsFormat renderTargetFormat,
                                                      GraphicsFormat depthStencilFormat)
{
    if (Failed(CheckDepthStencilSupport(adapter, type, adapterFormat, depthStencilFormat))) return D3DERR_NOTAVAILABLE;
    return renderTargetFormat == BackBufferFormatOf(surface) ? S_OK : D3DERR_NOTAVAILABLE;
}

HResult SurfaceGraphicsDriver::CheckMultiSampleType(uint32_t adapter, DeviceType type, GraphicsFormat surfaceFormat,
                                                    bool windowed, uint32_t multiSampleType, uint32_t* qualityLevels)
{
    if (adapter != 0) return D3DERR_INVALIDCALL;
    const bool ownFormat =
        surfaceFormat == BackBufferFormatOf(surface) || surfaceFormat == DepthStencilFormatOf(surface);
    const uint32_t own = surface.samples > 1 ? uint32_t(surface.samples) : D3DMULTISAMPLE_NONE;
    if (!IsOurHal(adapter, type) || !windowed || !ownFormat || multiSampleType != own) return D3DERR_NOTAVAILABLE;
    if (qualityLevels != nullptr) *qualityLevels = 1;
    return S_OK;
}

HResult SurfaceGraphicsDriver::CreateDevice(uint32_t adapter, DeviceType type, WindowHandle focusWindow,
                                            uint32_t /*behaviourFlags*/, PresentParams& params,
                                            std::unique_ptr<GraphicsDevice>& device)
{
    device.reset();
    if (adapter != 0) return D3DERR_INVALIDCALL;
    if (!IsOurHal(adapter, type) || !params.windowed) return D3DERR_NOTAVAILABLE;
    if (params.backBufferFormat != BackBufferFormatOf(surface)) return D3DERR_NOTAVAILABLE;
    if (params.enableAutoDepthStencil && params.autoDepthStencilFormat != DepthStencilFormatOf(surface))
        return D3DERR_NOTAVAILABLE;
    return MakeDevice(focusWindow, params, device);
}

}  // namespace m3d
