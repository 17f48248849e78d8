#include "editor/JointLimitCommands.h"

#include "editor/EditorSession.h"
#include "editor/history/DocumentEdit.h"
#include "editor/history/JointLimitChange.h"
#include "text/UiText.h"

#include <memory>

namespace m3d {

bool SetJointLimitCommand(EditorSession& session, int part, const JointLimit& limit)
{
    Part* target = session.GetScene().PartAt(part);
    if (!target || !IsValidJointLimit(limit) || target->jointLimit == limit) return false;
    DocumentEdit edit(session, UiText("core", "関節の制限"));
    edit.Add(std::make_unique<JointLimitChange>(part, target->jointLimit));
    target->jointLimit = limit;
    edit.Commit();
    return true;
}

}  // namespace m3d
