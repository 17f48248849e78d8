#include "gl/OffscreenDrawing.h"

#include "gl/GlRenderDevice.h"
#include "gl/OffscreenTarget.h"
#include "view/ViewRenderer.h"

namespace m3d {

TextureImage DrawOffscreen(GlRenderDevice& device, const OffscreenTarget& target, const ViewFrameInputs& in)
{
    target.Bind();
    device.SetTargetSize(target.Width(), target.Height(), 1.0);
    RenderViews(device, in);
    return target.ReadPixels();
}

}  // namespace m3d
