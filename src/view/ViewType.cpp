#include "view/ViewType.h"

namespace m3d {

namespace {

const char* const kNames[kViewTypeCount] = {"Top",  "Top(Rev)", "Bottom", "Bottom(Rev)", "Front",
                                            "Back", "Left",     "Right",  "Pers"};

const OrthoAxes kAxes[8] = {
    {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}, {0, 1, 0}, -1},   // Top
    {{-1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, +1},   // Top(Rev)
    {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, -1, 0}, -1},    // Bottom
    {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}, +1},  // Bottom(Rev)
    {{1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, 0},    // Front
    {{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}, 0},   // Back
    {{0, 0, 1}, {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}, 0},    // Left
    {{0, 0, -1}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, 0},   // Right
};

}  // namespace

const char* ViewTypeName(int type) { return type >= 0 && type < kViewTypeCount ? kNames[type] : ""; }

bool IsOrthographic(int type) { return type >= 0 && type < ViewType::Pers; }

const OrthoAxes& OrthoAxesOf(int type)
{
    if (type < 0) type = 0;
    if (type > 7) type = 7;
    return kAxes[type];
}

Vec3 OrthoEye(int type, Vec3 target, float distance)
{
    const OrthoAxes& axes = OrthoAxesOf(type);
    Vec3 eye = target + axes.eyeDirection * distance;
    eye.z += axes.eyeZOffset;
    return eye;
}

}  // namespace m3d
