#pragma once

class Scene;

// Operations on the pose shown (the Parts' localMatrix and localPosition);
// none of them writes keys. The plain operations below are shared with the
// whole-motion operations; the menu commands add the undo step and the view
// fitting.

// Reflects the pose through the plane x = 0: every Part takes its partner's
// rotation (its own without a partner) with _12, _13, _21 and _31 negated.
// Positions stay; a child with a partner also gets its position in the
// translation row of its localMatrix. World transforms are recomposed.
// Applying it twice restores every rotation.
void MirrorPose(Scene& scene);

// Lowest world y over every vertex of every Part's mesh in its current world
// transform. false (y untouched) when the model has no vertex at all.
bool LowestModelY(const Scene& scene, float& y);

// Moves every top-level Part up or down so that the lowest vertex of the
// model lies on y = 0; children follow their top-level ancestors. A model
// without any vertex (no Parts, or only empty meshes) has no lowest point:
// the pose is left as it is and false is returned.
bool DropToGround(Scene& scene);

// The menu commands: MirrorPose, then one undo step; DropToGround, then one
// undo step and the views fitted to the model (both also when nothing moved).
void MirrorPoseCommand(Scene& scene);
void DropToGroundCommand(Scene& scene);

// Turns the current Part so that it keeps its heading in the world and loses
// all pitch and bank; its position stays and its children follow. Nothing
// without a current Part.
void KeepOnlyHeading(Scene& scene);

// KeepOnlyHeading, then the same onto the partners when "左右連動" is on,
// then one undo step (recorded also without a current Part).
void LevelCurrentPart(Scene& scene);

// Outcome of the grid width dialog.
enum GridWidthOutcome : int {
    GRID_WIDTH_STORED = 0,   // OK with a valid width: stored; the caller rebuilds the grid
    GRID_WIDTH_KEPT = 1,     // cancelled: the width is unchanged
    GRID_WIDTH_REFUSED = 2,  // OK with a width outside 1 ... 10000: the dialog stays open
};
// Closes the grid width dialog: confirmed with width (checked against
// 1 ... 10000) or cancelled. A refused width changes nothing; otherwise the
// title is rebuilt, showing the width.
GridWidthOutcome CloseGridWidthDialog(Scene& scene, bool confirmed, int width);
