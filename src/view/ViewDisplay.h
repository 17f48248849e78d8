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
enum class ColourIndex : int {
    Back = 0,    // view background
    Grid = 1,    // grid lines
    Line = 2,    // the gaps between the views
    Coll = 3,    // collision shapes
    Normal = 4,  // normals
    Pivot = 5,   // pivot markers
    Select = 6,  // bounding box of the selected Part
    Anim = 7,    // timeline of the motion panel
};
using ColourTable = std::array<uint32_t, 8>;

}  // namespace m3d
