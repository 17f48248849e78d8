#pragma once

#include <array>
#include <cstdint>

namespace m3d {

// How one view draws, as its display toolbar sets it. Each switch is 0 or 1.
struct ViewDisplay {
    int drawMode = 0;       // 1 faces, 0 edges
    int collision = 0;      // draw the collision shapes
    int normals = 0;        // draw the vertex normals
    int pivot = 0;          // draw the pivot markers
    int showSelection = 0;  // draw the selected Part's bounding box
    int onionSkin = 0;      // draw the poses at the neighbouring keys as ghosts
};

using ViewDisplays = std::array<ViewDisplay, 4>;

// The display colours, ARGB, in the settings file's order.
enum ColourIndex : int {
    COLOUR_BACK = 0,    // view background
    COLOUR_GRID = 1,    // grid lines
    COLOUR_LINE = 2,    // the gaps between the views
    COLOUR_COLL = 3,    // collision shapes
    COLOUR_NORMAL = 4,  // normals
    COLOUR_PIVOT = 5,   // pivot markers
    COLOUR_SELECT = 6,  // bounding box of the selected Part
    COLOUR_ANIM = 7,    // timeline of the motion panel
};
using ColourTable = std::array<uint32_t, 8>;

}  // namespace m3d
