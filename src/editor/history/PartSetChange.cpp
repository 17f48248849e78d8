#include "editor/history/PartSetChange.h"

#include "editor/EditorSession.h"

namespace m3d {

std::unique_ptr<PartSetChange> PartSetChange::Added(std::vector<int> indices)
{
    return std::unique_ptr<PartSetChange>(new PartSetChange(std::move(indices), true, DetachedParts{}));
}

std::unique_ptr<PartSetChange> PartSetChange::Removed(DetachedParts detached)
{
    std::vector<int> indices;
    for (const DetachedPart& d : detached.parts) indices.push_back(d.index);
    return std::unique_ptr<PartSetChange>(new PartSetChange(std::move(indices), false, std::move(detached)));
}

size_t PartSetChange::Bytes() const
{
    size_t bytes = sizeof(*this) + indices.size() * sizeof(int) + detached.cutPartnerLinks.size() * 8;
    for (const DetachedPart& d : detached.parts) {
        bytes += sizeof(DetachedPart) + sizeof(Part) + d.part->baseName.size() + d.part->displayName.size();
        for (const MotionTrack& track : d.tracks) bytes += sizeof(track) + track.keys.size() * sizeof(KeyFrame);
        if (const CMesh* mesh = d.part->mesh.get()) {
            bytes += static_cast<size_t>(mesh->GetVertexNum()) * sizeof(_MESH_VERTEX);
            for (int k = 0; k < mesh->GetMeshNum(); ++k) bytes += mesh->GetMesh(k)->indices.size() * sizeof(uint16_t);
        }
    }
    return bytes;
}

void PartSetChange::ForgetDigests(MotionDigests& digests) const
{
    if (inModel)
        digests.TracksInserted(indices);
    else
        digests.TracksRemoved(indices);
}

void PartSetChange::Toggle(EditorSession& session)
{
    Scene& scene = session.GetScene();
    if (inModel) {
        detached = scene.DetachParts(indices);
        session.SelectionMayHaveChanged();
    } else {
        scene.AttachParts(std::move(detached));
        detached = DetachedParts{};
        if (!indices.empty()) session.SelectPart(indices.front());
    }
    inModel = !inModel;
}

}  // namespace m3d
