#include "scene/Scene.h"

void Scene::FitViews()
{
    std::vector<const CMesh*> meshes;
    meshes.reserve(parts.size());
    for (const auto& part : parts) meshes.push_back(part->mesh.get());
    viewState.FitViews(meshes);
}
