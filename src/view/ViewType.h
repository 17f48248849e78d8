#pragma once

#include "math/Vec3.h"

namespace m3d {

// The camera kinds a view can show: eight axis-aligned orthographic directions
// and one free perspective camera. The numbers are stored in the settings file.
enum class ViewType : int {
    Top = 0,
    TopRev = 1,
    Bottom = 2,
    BottomRev = 3,
    Front = 4,
    Back = 5,
    Left = 6,
    Right = 7,
    Pers = 8,
};
constexpr int kViewTypeCount = 9;

// Axes of an orthographic view type: the world directions of one pixel step to
// the right and down on screen, the viewing direction, and the unit offset of
// the eye from the target (scaled by the eye distance; the top and bottom types
// carry a fixed Z offset of one unit so that their look-at frame with up = +Y is
// well defined).
struct OrthoAxes {
    Vec3 screenRight;
    Vec3 screenDown;
    Vec3 lookingAlong;
    Vec3 eyeDirection;  // the eye sits at target + eyeDirection * distance + eyeZOffset
    float eyeZOffset;
};

// The name shown in the view-type list ("Top" ... "Pers"); "" outside 0 ... 8.
const char* ViewTypeName(int type);
// true for the orthographic types 0 ... 7.
bool IsOrthographic(int type);
// Axes of orthographic type 0 ... 7; the type is clamped into that range.
const OrthoAxes& OrthoAxesOf(int type);
// Eye of an orthographic type for a target at distance along its direction.
Vec3 OrthoEye(int type, Vec3 target, float distance);

}  // namespace m3d
