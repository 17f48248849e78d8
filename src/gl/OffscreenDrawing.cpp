#include "gl/OffscreenDrawing.h"

#include "gl/GlRenderDevice.h"
#include "gl/OffscreenTarget.h"
#include "view/DeviceState.h"
#include "view/ViewRenderer.h"

namespace m3d {

TextureImage DrawOffscreen(GlRenderDevice& device, const OffscreenTarget& target, const ViewFrameInputs& in)
{
    target.Bind();
    device.SetTargetSize(target.Width(), target.Height(), 1.0);
    // A device made for pictures alone has never had the window's light and
    // ambient set; the window's own device gets them back unchanged.
    RestoreDeviceState(device, in.views.lightDirection);
    RenderViews(device, in);
    return target.ReadPixels();
}

}  // namespace m3d
