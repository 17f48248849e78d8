#pragma once

#include "render/SurfaceGraphicsDriver.h"

namespace m3d {

class GlRenderDevice;
class RenderWidget;

// The graphics system as the rendering framework sees it: one adapter with the
// formats of the render window's OpenGL context, and a device that is that
// context. Made while the context is current (the render window's
// initialisation); the device's objects live in renderDevice.
class GlGraphicsDriver : public SurfaceGraphicsDriver {
public:
    GlGraphicsDriver(RenderWidget& window, GlRenderDevice& renderDevice);

    // The formats of window's current context and the screen it is on.
    static SurfaceDescription Describe(RenderWidget& window);

protected:
    HResult MakeDevice(WindowHandle focusWindow, PresentParams& params,
                       std::unique_ptr<GraphicsDevice>& device) override;

private:
    RenderWidget& window;
    GlRenderDevice& renderDevice;
};

}  // namespace m3d
