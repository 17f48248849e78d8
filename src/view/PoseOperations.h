#pragma once

namespace m3d {

class Scene;

// Operations on the pose shown (the Parts' localMatrix and localPosition);
// none of them writes keys. They are shared by the menu commands and the
// whole-motion operations.

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

// Turns Part part so that it keeps its heading in the world and loses all
// pitch and bank; its position stays and its children follow. Nothing for an
// index outside the Parts.
void KeepOnlyHeading(Scene& scene, int part);

}  // namespace m3d
