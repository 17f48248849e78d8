#pragma once

namespace m3d {

class EditorSession;

// The pose commands of the menu and the transform panel. Each ends with one
// undo step, as every completed edit does (none when nothing moved).

// "左右逆のポーズにする": MirrorPose.
void MirrorPoseCommand(EditorSession& session);
// "全オブジェクトの一番下を地面に合わせる": DropToGround, then the views are fitted.
void DropToGroundCommand(EditorSession& session);
// "選択オブジェクトを水平にする": KeepOnlyHeading of the current Part, then
// the same onto its partners when "左右連動" is on (nothing moves without a
// current Part).
void LevelCurrentPart(EditorSession& session);

// The transform panel's four "Set" buttons: apply the panel field of their
// row to the current Part (with the partners when "左右連動" is on: the
// relative rows reflect the local pose, the absolute rows set (-x, y, z) and
// (-H, P, -B)), refill the fields, then record one undo step.
void OnRelativeRotationSet(EditorSession& session);
void OnAbsoluteRotationSet(EditorSession& session);
void OnRelativePositionSet(EditorSession& session);
void OnAbsolutePositionSet(EditorSession& session);

// "Undo" and "Redo": one step of the document history; the panels follow.
void UndoCommand(EditorSession& session);
void RedoCommand(EditorSession& session);

}  // namespace m3d
