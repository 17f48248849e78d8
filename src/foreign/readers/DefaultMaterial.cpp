#include "foreign/readers/DefaultMaterial.h"

namespace m3d {

ModelMaterial DefaultForeignMaterial()
{
    ModelMaterial material;
    material.name = "default";
    material.diffuse = {0.8f, 0.8f, 0.8f, 1.0f};
    material.ambient = {0.2f, 0.2f, 0.2f, 1.0f};
    material.specular = {0.0f, 0.0f, 0.0f, 1.0f};
    material.emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    return material;
}

}  // namespace m3d
