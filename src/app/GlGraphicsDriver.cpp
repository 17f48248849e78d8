#include "app/GlGraphicsDriver.h"

#include "gl/GlRenderDevice.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include "app/RenderWidget.h"
#include <QScreen>

#include <cmath>
#include <cstdio>

namespace m3d {

namespace {

// The device is the window's context: it is lost only when the context is,
// its back buffer is the window's framebuffer, and presenting is the window
// system's job once a frame has been drawn.
class GlGraphicsDevice : public GraphicsDevice {
public:
    GlGraphicsDevice(RenderWidget& widget, GlRenderDevice& device, DeviceCaps deviceCaps, GraphicsFormat format)
        : window(widget), renderDevice(device), caps(deviceCaps), backBufferFormat(format)
    {
    }

    HResult TestCooperativeLevel() override { return ContextUsable() ? S_OK : D3DERR_DEVICELOST; }
    HResult Reset(PresentParams& params) override
    {
        if (!ContextUsable()) return D3DERR_DEVICELOST;
        SurfaceDesc desc;
        GetBackBufferDesc(desc);
        params.backBufferWidth = desc.width;
        params.backBufferHeight = desc.height;
        return S_OK;
    }
    HResult Present(WindowHandle) override { return ContextUsable() ? S_OK : D3DERR_DEVICELOST; }
    HResult GetDeviceCaps(DeviceCaps& out) override
    {
        out = caps;
        return S_OK;
    }
    HResult GetBackBufferDesc(SurfaceDesc& desc) override
    {
        const double ratio = window.devicePixelRatioF();
        desc.width = uint32_t(std::lround(window.width() * ratio));
        desc.height = uint32_t(std::lround(window.height() * ratio));
        desc.format = backBufferFormat;
        return S_OK;
    }
    uint32_t Release() override
    {
        renderDevice.ReleaseResources();
        return 0;
    }

private:
    bool ContextUsable() const { return window.context() != nullptr && window.context()->isValid(); }

    RenderWidget& window;
    GlRenderDevice& renderDevice;
    DeviceCaps caps;
    GraphicsFormat backBufferFormat;
};

std::string GlString(QOpenGLContext* context, unsigned name)
{
    const auto* text = context != nullptr ? context->functions()->glGetString(name) : nullptr;
    return text != nullptr ? reinterpret_cast<const char*>(text) : std::string();
}

}  // namespace

GlGraphicsDriver::GlGraphicsDriver(RenderWidget& widget, GlRenderDevice& device)
    : SurfaceGraphicsDriver(Describe(widget)), window(widget), renderDevice(device)
{
}

SurfaceDescription GlGraphicsDriver::Describe(RenderWidget& widget)
{
    SurfaceDescription s;
    QOpenGLContext* context = widget.context();
    const QSurfaceFormat format = context != nullptr ? context->format() : widget.format();
    s.redBits = format.redBufferSize();
    s.greenBits = format.greenBufferSize();
    s.blueBits = format.blueBufferSize();
    s.alphaBits = std::max(format.alphaBufferSize(), 0);
    s.depthBits = format.depthBufferSize();
    s.stencilBits = std::max(format.stencilBufferSize(), 0);
    s.samples = std::max(format.samples(), 0);
    s.presentsImmediately = format.swapInterval() == 0;
    if (QScreen* screen = widget.screen()) {
        const double ratio = screen->devicePixelRatio();
        s.screenWidth = uint32_t(std::lround(screen->size().width() * ratio));
        s.screenHeight = uint32_t(std::lround(screen->size().height() * ratio));
        s.refreshRate = uint32_t(std::lround(screen->refreshRate()));
    }
    s.renderer = GlString(context, GL_RENDERER);
    s.version = GlString(context, GL_VERSION);
    return s;
}

HResult GlGraphicsDriver::MakeDevice(WindowHandle, PresentParams& params, std::unique_ptr<GraphicsDevice>& device)
{
    const Outcome initialized =
        window.context() == nullptr ? Outcome::Failure("no OpenGL context") : renderDevice.Initialize();
    if (!initialized) {
        std::fprintf(stderr, "marionettica3d: %s\n", initialized.Message().c_str());
        return D3DERR_NOTAVAILABLE;
    }
    DeviceCaps caps;
    GetDeviceCaps(0, DeviceType::Hal, caps);
    device = std::make_unique<GlGraphicsDevice>(window, renderDevice, caps, BackBufferFormatOf(Surface()));
    SurfaceDesc desc;
    device->GetBackBufferDesc(desc);
    params.backBufferWidth = desc.width;
    params.backBufferHeight = desc.height;
    return S_OK;
}

}  // namespace m3d
