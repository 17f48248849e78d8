#pragma once

#include "render/GraphicsDriver.h"

#include <string>

namespace m3d {

// What the window system gave a window's drawing surface and the screen it is
// on: the whole truth a windowed program on such a system can report about
// "adapters" and "formats".
struct SurfaceDescription {
    int redBits = 0, greenBits = 0, blueBits = 0, alphaBits = 0;
    int depthBits = 0, stencilBits = 0;
    int samples = 0;  // 0 or 1: no multisampling
    uint32_t screenWidth = 0, screenHeight = 0;
    uint32_t refreshRate = 0;         // Hz, 0 when unknown
    bool presentsImmediately = true;  // buffer swaps do not wait for the display
    std::string renderer;             // the graphics system's own name for itself
    std::string version;
};

// The display format of such a surface: X8R8G8B8, R5G6B5, X1R5G5B5 or
// A2R10G10B10 by its colour bits; Unknown for anything else.
GraphicsFormat DisplayFormatOf(const SurfaceDescription& surface);
// The back-buffer format: the display format, with alpha (A8R8G8B8,
// A1R5G5B5) when the surface has alpha bits; Unknown when unrecognised.
GraphicsFormat BackBufferFormatOf(const SurfaceDescription& surface);
// D16, D24X8, D24S8 or D32 by depth and stencil bits; Unknown without depth or
// for other combinations.
GraphicsFormat DepthStencilFormatOf(const SurfaceDescription& surface);

// A graphics driver with one adapter and one hardware device type that answers
// every question from a surface description: the desktop mode is the screen
// in the surface's display format, the only full-screen mode is that too, and
// the device runs windowed with exactly the surface's back-buffer,
// depth/stencil and multisample formats. The software and reference types are
// not available. Creating the device is left to the program, which knows the
// window.
class SurfaceGraphicsDriver : public GraphicsDriver {
public:
    explicit SurfaceGraphicsDriver(SurfaceDescription surface);

    const SurfaceDescription& Surface() const { return surface; }

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
    // Checks the adapter, the type and the formats in params against the
    // surface, then asks MakeDevice.
    HResult CreateDevice(uint32_t adapter, DeviceType type, WindowHandle focusWindow, uint32_t behaviourFlags,
                         PresentParams& params, std::unique_ptr<GraphicsDevice>& device) override;

protected:
    // Makes the device for the window; params may get the sizes it chose.
    virtual HResult MakeDevice(WindowHandle focusWindow, PresentParams& params,
                               std::unique_ptr<GraphicsDevice>& device) = 0;

private:
    bool IsOurHal(uint32_t adapter, DeviceType type) const;

    SurfaceDescription surface;
};

}  // namespace m3d
