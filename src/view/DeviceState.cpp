#include "view/DeviceState.h"

namespace m3d {

void SetDeviceLight(RenderDevice& device, Vec3 direction)
{
    if (Length(direction) > 0.0f) {
        DirectionalLight light;
        light.direction = Normalize(direction);
        light.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
        device.SetLight(light);
    }
    device.SetLighting(true);
}

void RestoreDeviceState(RenderDevice& device, Vec3 lightDirection)
{
    RenderMaterial material;
    material.diffuse = {1.0f, 0.0f, 0.0f, 1.0f};
    material.ambient = {1.0f, 0.0f, 0.0f, 1.0f};
    device.SetMaterial(material);
    device.SetAmbientLight(kAmbientLightColour);
    device.SetTransform(TransformKind::World, Matrix4::Identity());
    SetDeviceLight(device, lightDirection);
}

}  // namespace m3d
