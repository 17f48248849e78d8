#include "editor/history/JointLimitChange.h"

#include "editor/EditorSession.h"

#include <utility>

namespace m3d {

void JointLimitChange::Exchange(EditorSession& session)
{
    if (Part* target = session.GetScene().PartAt(part)) std::swap(target->jointLimit, limit);
}

}  // namespace m3d
