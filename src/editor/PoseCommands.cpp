#include "editor/PoseCommands.h"

#include "editor/CommandRegistry.h"
#include "editor/EditorSession.h"
#include "scene/PartPlacement.h"
#include "view/PoseOperations.h"
#include "view/TransformOperations.h"

namespace m3d {

namespace {

// Every Part whose partner is Part part, when "左右連動" is on.
template <typename Edit>
void ForEachLinkedPartner(EditorSession& session, int part, Edit edit)
{
    const Scene& scene = session.GetScene();
    if (!session.TransformPanel().linkLR || !scene.PartAt(part)) return;
    for (int i = 0; i < scene.PartCount(); ++i)
        if (i != part && scene.Parts()[i]->symmetryIndex == part) edit(i);
}

void MirrorToLinkedPartners(EditorSession& session, int part)
{
    if (session.TransformPanel().linkLR) MirrorToPartners(session.GetScene(), part);
}

// The end of every completed pose edit: one undo step named after command.
void FinishEdit(EditorSession& session, EditorCommand command)
{
    session.ShowCurrentTransform();
    session.History().PushUndo(UndoLabelOf(command));
}

// An absolute Set: value on the current Part, mirrored on the Parts whose
// partner it is when "左右連動" is on.
template <typename Value>
void SetOnCurrentAndPartners(EditorSession& session, EditorCommand command, Value value, Value mirrored,
                             void (*set)(Scene&, int, Value))
{
    const int part = session.CurrentPart();
    set(session.GetScene(), part, value);
    ForEachLinkedPartner(session, part, [&](int i) { set(session.GetScene(), i, mirrored); });
    FinishEdit(session, command);
}

// The rotation fields as a Set read them become those last shown for the
// current Part, so that its new rotation reads back as typed.
void RememberTypedRotations(EditorSession& session)
{
    TransformPanelState& panel = session.TransformPanel();
    panel.shownRotations.Typed(session.GetScene(), session.CurrentPart(), panel.fields.relativeRotation,
                               panel.fields.absoluteRotation);
}

}  // namespace

void MirrorPoseCommand(EditorSession& session)
{
    MirrorPose(session.GetScene());
    FinishEdit(session, EditorCommand::MirrorPose);
}

void DropToGroundCommand(EditorSession& session)
{
    DropToGround(session.GetScene());
    FinishEdit(session, EditorCommand::DropToGround);
    session.FitViews();
}

void LevelCurrentPart(EditorSession& session)
{
    const int part = session.CurrentPart();
    KeepOnlyHeading(session.GetScene(), part);
    MirrorToLinkedPartners(session, part);
    FinishEdit(session, EditorCommand::LevelPart);
}

void OnRelativeRotationSet(EditorSession& session)
{
    const int part = session.CurrentPart();
    RememberTypedRotations(session);
    SetRelativeRotation(session.GetScene(), part, session.TransformPanel().fields.relativeRotation);
    MirrorToLinkedPartners(session, part);
    FinishEdit(session, EditorCommand::SetRelativeRotation);
}

void OnRelativePositionSet(EditorSession& session)
{
    const int part = session.CurrentPart();
    SetRelativePosition(session.GetScene(), part, session.TransformPanel().fields.relativePosition);
    MirrorToLinkedPartners(session, part);
    FinishEdit(session, EditorCommand::SetRelativePosition);
}

void OnAbsolutePositionSet(EditorSession& session)
{
    const Vec3 p = session.TransformPanel().fields.absolutePosition;
    SetOnCurrentAndPartners(session, EditorCommand::SetAbsolutePosition, p, MirrorPosition(p), SetAbsolutePosition);
}

void OnAbsoluteRotationSet(EditorSession& session)
{
    const HeadingPitchBank a = session.TransformPanel().fields.absoluteRotation;
    RememberTypedRotations(session);
    SetOnCurrentAndPartners(session, EditorCommand::SetAbsoluteRotation, a, HeadingPitchBank{-a.h, a.p, -a.b},
                            SetAbsoluteRotation);
}

void UndoCommand(EditorSession& session) { session.History().Undo(); }

void RedoCommand(EditorSession& session) { session.History().Redo(); }

}  // namespace m3d
