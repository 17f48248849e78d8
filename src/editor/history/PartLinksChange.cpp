#include "editor/history/PartLinksChange.h"

#include "editor/EditorSession.h"

#include <algorithm>

namespace m3d {

void PartLinksChange::Apply(EditorSession& session, bool after) const
{
    Scene& scene = session.GetScene();
    for (const Entry& e : entries) {
        const int partner = after ? e.after : e.before;
        if (Part* part = scene.PartAt(e.part)) part->symmetryIndex = scene.PartAt(partner) ? partner : -1;
    }
}

std::vector<int> PartnersOf(const Scene& scene)
{
    std::vector<int> partners;
    partners.reserve(scene.Parts().size());
    for (const auto& part : scene.Parts()) partners.push_back(part->symmetryIndex);
    return partners;
}

std::vector<PartLinksChange::Entry> PartnerDifferences(const std::vector<int>& before, const Scene& scene)
{
    std::vector<PartLinksChange::Entry> entries;
    const size_t count = std::min(before.size(), scene.Parts().size());
    for (size_t i = 0; i < count; ++i)
        if (scene.Parts()[i]->symmetryIndex != before[i])
            entries.push_back({static_cast<int>(i), before[i], scene.Parts()[i]->symmetryIndex});
    return entries;
}

}  // namespace m3d
