#include "editor/history/PartGeometryChange.h"

#include "editor/EditorSession.h"

namespace m3d {

void PartGeometryChange::Put(EditorSession& session, const std::vector<Vec3>& positions) const
{
    Scene& scene = session.GetScene();
    if (Part* p = scene.PartAt(part); p && p->mesh) p->mesh->SetVertexPositions(positions);
    scene.UpdateHierarchy(0);
}

}  // namespace m3d
