#include "editor/history/PartNameChange.h"

#include "editor/EditorSession.h"

namespace m3d {

void PartNameChange::Exchange(EditorSession& session)
{
    Scene& scene = session.GetScene();
    Part* target = scene.PartAt(part);
    if (!target) return;
    std::swap(target->baseName, baseName);
    std::swap(target->displayName, displayName);
    scene.SetTreeItemText(target->treeItem, target->displayName);
}

}  // namespace m3d
