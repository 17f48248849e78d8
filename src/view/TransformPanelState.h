#pragma once

#include "math/Vec3.h"
#include "view/RotationAngles.h"

// What the transform panel shows for the current Part: rotation and position
// relative to its parent and absolute in the world (angles in degrees,
// positions in world units). All zero when no Part is current.
struct TransformValues {
    HeadingPitchBank relativeRotation;  // angles of the Part's localMatrix
    HeadingPitchBank absoluteRotation;  // angles of its mesh's world matrix
    Vec3 relativePosition;              // its localPosition
    Vec3 absolutePosition;              // its mesh's world position
};

// The transform panel's fields. The grid plane check boxes write the view
// state's grid flags directly, which the drawing and the settings file read.
struct TransformPanelState {
    // The twelve edit fields: refilled from the current Part after every edit,
    // read by the "Set" buttons (the panel copies its controls in first).
    TransformValues fields;
    // "左右連動": every edit also changes the symmetry partners (0 or 1).
    int linkLR = 0;
};
