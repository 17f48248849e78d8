#pragma once

#include "math/Vec3.h"
#include "render/RenderDevice.h"

namespace m3d {

// The ambient light of every view.
inline constexpr uint32_t kAmbientLightColour = 0x002F2F2F;

// The one white directional light travelling along direction (normalised
// here; a zero vector leaves the light as it was), switched on with lighting.
void SetDeviceLight(RenderDevice& device, Vec3 direction);

// The fixed state every drawing pass relies on, set after the device is
// created and after every reset: a red material (diffuse and ambient), the
// ambient light, an identity world transform and the light of SetDeviceLight.
void RestoreDeviceState(RenderDevice& device, Vec3 lightDirection);

}  // namespace m3d
