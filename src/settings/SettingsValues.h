#pragma once

#include "math/Vec3.h"
#include "settings/RecentFiles.h"

#include <array>
#include <cstdint>
#include <string>

namespace m3d {

// The display colours a first start gets, ARGB, in the order BACK, GRID,
// LINE, COLL, NORMAL, PIVOT, SELECT, ANIM.
inline constexpr std::array<uint32_t, 8> kDefaultColours{0xFF181818, 0xFF808080, 0xFFFF0000, 0xFFFFFF00,
                                                         0xFF00FF80, 0xFFFF00FF, 0xFFC0C0C0, 0xFF2040E0};

// One view's part of the settings file.
struct ViewSettingsValues {
    int type = 0;             // view type number (0 "Top" ... 8 "Pers")
    int drawMode = 0;         // display toolbar draw mode: 1 faces, 0 edges
    bool drawSelect = false;  // show the selected part's bounding box
    Vec3 target;              // target of the view
    Vec3 persEye;             // eye of the perspective camera
    Vec3 persTarget;          // target of the perspective camera
};

// Every value the settings file keeps, as plain data. The program reads the
// file into this record and hands each value to its owner (scene, panels,
// views); at shutdown it gathers the values back and writes them.
// Members start zeroed; DefaultSettingsValues gives the file's defaults.
struct SettingsValues {
    std::string addObjectDirectory;    // start folder of the object-file dialogs
    std::string exportXFileDirectory;  // start folder of the DirectX export dialog
    std::string exportGltfDirectory;   // start folder of the glTF export dialog
    // ARGB colours in the order BACK, GRID, LINE, COLL, NORMAL, PIVOT, SELECT, ANIM.
    std::array<uint32_t, 8> colours{};
    int frameRate = 0;        // playback frames per second
    int timeScaleFactor = 0;  // time scale factor of the DirectX export
    int gridWidth = 0;
    bool gridXY = false;
    bool gridYZ = false;
    bool gridZX = false;
    Vec3 lightDirection;
    float splitX = 0.0f;  // view split fraction across
    float splitY = 0.0f;  // view split fraction down
    float orthographicScale = 0.0f;
    std::array<ViewSettingsValues, 4> views;
    std::string interfaceLanguage;     // "ja" or "en" (see InterfaceLanguage.h); other codes mean Japanese
    int textureMemoryMegabytes = 512;  // decoded textures' budget (CMeshBase::SetTextureBudget); 0 or less: 512
    // The motion panel as the user sized it, in pixels (its designed size,
    // 460 x 198, by default), the zoom of its timeline in pixels a frame and
    // whether playback keeps real time.
    int motionPanelWidth = 0;
    int motionPanelHeight = 0;
    int timelineFramePixels = 0;
    bool realTimePlayback = false;
    // The interpolation Set gives new keys, by its command-line name
    // ("linear", "smooth", "ease:x1,y1,x2,y2"...); one that does not parse is linear.
    std::string newKeyInterpolation;
    bool curvePanelShown = false;  // View > Curves
    // The gizmo: the Part's own axes (View > Local Axes) or the world's, and
    // the step of a turn with Ctrl held, in degrees.
    bool localAxes = true;
    int rotateSnapDegrees = 15;
    float moveSnap = 0.0f;  // 0: snapped moves step by the grid's width
    // Parts > IK > Move by IK, and how many Parts above a dragged one turn.
    bool ik = false;
    int ikChainLength = 2;
    // Minutes from an unsaved change to the recovery snapshot that holds it;
    // 0 (or less) writes none.
    float recoveryIntervalMinutes = 2.0f;
    RecentFiles recentProjects;  // the File menu's list, in its own section after all the others
};

// Which owners of conditional values exist. A value whose owner is missing is
// neither read nor written: the caller's value stays as it was.
struct SettingsOwners {
    bool motionPanel = true;                                   // owns FRAMERATE and the TIMELINE section
    bool transformPanel = true;                                // owns the three GRID flags
    std::array<bool, 4> viewToolbars{true, true, true, true};  // own DRAWMODE and DRAWSELECT of their view
};

// The defaults of every key; both directories are currentDirectory.
SettingsValues DefaultSettingsValues(const std::string& currentDirectory);

}  // namespace m3d
