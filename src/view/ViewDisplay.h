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
    int motionPath = 0;     // draw the path of the selected Part's pivot over the current Motion
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
constexpr int kColourCount = 8;

// The colours by their place (0 ... 7, as the settings file lists them) or by name.
struct ColourTable : std::array<uint32_t, kColourCount> {
    ColourTable() : std::array<uint32_t, kColourCount>{} {}
    ColourTable(const std::array<uint32_t, kColourCount>& colours) : std::array<uint32_t, kColourCount>(colours) {}
    using std::array<uint32_t, kColourCount>::operator[];
    uint32_t& operator[](ColourIndex index) { return (*this)[std::size_t(index)]; }
    const uint32_t& operator[](ColourIndex index) const { return (*this)[std::size_t(index)]; }
};

}  // namespace m3d
