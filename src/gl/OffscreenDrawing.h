#pragma once

#include "records/TextureImage.h"

namespace m3d {

class GlRenderDevice;
class OffscreenTarget;
struct ViewFrameInputs;

// Draws one frame of the views (RenderViews) into target through device, in
// the window's light and material rules (RestoreDeviceState), and reads it
// back (RGBA, top row first); the views' render size is the target's. Needs
// the context of both current.
TextureImage DrawOffscreen(GlRenderDevice& device, const OffscreenTarget& target, const ViewFrameInputs& in);

}  // namespace m3d
