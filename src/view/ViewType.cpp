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

const char* ViewTypeName(ViewType type)
{
    const int index = int(type);
    return index >= 0 && index < kViewTypeCount ? kNames[index] : "";
}

bool IsOrthographic(ViewType type) { return type != ViewType::Pers; }

const OrthoAxes& OrthoAxesOf(ViewType type)
{
    const int index = int(type);
    return kAxes[index < 0 ? 0 : index > 7 ? 7 : index];
}

Vec3 OrthoEye(ViewType type, Vec3 target, float distance)
{
    const OrthoAxes& axes = OrthoAxesOf(type);
    Vec3 eye = target + axes.eyeDirection * distance;
    eye.z += axes.eyeZOffset;
    return eye;
}

}  // namespace m3d
