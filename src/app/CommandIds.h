#pragma once

// Numbers of the menu commands, panels and controls. Every widget's objectName
// is its number in decimal (IdName), so tests and tools find widgets by id.

#include <QString>

// Menu commands.
inline constexpr int ID_COLOR_CHANGE = 40024;
inline constexpr int ID_FILE_NEW = 40025;
inline constexpr int ID_FILE_OPEN = 40026;
inline constexpr int ID_FILE_SAVE = 40027;
inline constexpr int ID_FILE_SAVE_AS = 40028;
inline constexpr int ID_MOTION_DELETE_REDUNDANT_KEYS = 40029;
inline constexpr int ID_LIGHT_FROM_FRONT = 40030;
inline constexpr int ID_APP_ABOUT = 40032;
inline constexpr int ID_PARTS_ADD = 40033;
inline constexpr int ID_PARTS_DELETE = 40034;
inline constexpr int ID_PARTS_SWAP = 40035;
inline constexpr int ID_PARTS_ADD_MIRRORED = 40036;
inline constexpr int ID_PARTS_SYMMETRY = 40037;
inline constexpr int ID_EXPORT_XFILE = 40038;
inline constexpr int ID_POSE_GROUND = 40039;
inline constexpr int ID_GRID_WIDTH = 40040;
inline constexpr int ID_MODEL_SCALE = 40041;
inline constexpr int ID_POSE_MIRROR = 40042;
inline constexpr int ID_POSE_LEVEL = 40043;
inline constexpr int ID_MOTION_GROUND = 40044;
inline constexpr int ID_MOTION_MIRROR = 40045;
inline constexpr int ID_MOTION_TURN_Z = 40046;
inline constexpr int ID_MOTION_LEVEL = 40047;
inline constexpr int ID_HELP_CONTENTS = 40048;
inline constexpr int ID_APP_EXIT = 57665;
// The pose history's keyboard commands (the class library's undo and redo ids).
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;

// Resources: the menu, the form and the panels' templates.
inline constexpr int IDR_MAINFRAME = 101;
inline constexpr int IDD_FORM = 103;
inline constexpr int IDD_PARTS_PANEL = 202;
inline constexpr int IDD_VIEW_TOOLBAR = 203;
inline constexpr int IDD_TRANSFORM_PANEL = 207;
inline constexpr int IDD_PARTS_TREE = 208;
inline constexpr int IDD_MOTION_PANEL = 209;
inline constexpr int IDD_ABOUT = 224;

// Controls.
inline constexpr int IDC_RENDER_WINDOW = 2001;
inline constexpr int IDC_PARTS_TREE = 2021;
inline constexpr int IDC_ABOUT_ADDRESS = 2154;

// Display toolbars (template 203, one per view) and the colour dialog (215).
inline constexpr int IDD_COLOUR_SETTINGS = 215;
inline constexpr int IDB_PAN = 204;
inline constexpr int IDB_ZOOM = 206;
inline constexpr int IDB_SINGLE_VIEW = 231;  // layout picture of the view shown alone
inline constexpr int IDB_FOUR_VIEWS = 233;   // layout picture in four-view mode
inline constexpr int IDC_OK = 1;
inline constexpr int IDC_CANCEL = 2;
inline constexpr int IDC_VIEW_DRAW_EDGES = 2011;
inline constexpr int IDC_VIEW_DRAW_FACES = 2012;
inline constexpr int IDC_VIEW_COLLISION = 2013;
inline constexpr int IDC_VIEW_ZOOM = 2014;
inline constexpr int IDC_VIEW_PAN = 2015;
inline constexpr int IDC_VIEW_NORMALS = 2033;
inline constexpr int IDC_VIEW_SHOW_SELECTION = 2062;
inline constexpr int IDC_VIEW_PIVOT = 2063;
inline constexpr int IDC_COLOUR_DEFAULTS = 2088;
inline constexpr int IDC_VIEW_TYPE = 2179;
inline constexpr int IDC_VIEW_LAYOUT = 2180;

// The objectName of the widget with number id.
inline QString IdName(int id) { return QString::number(id); }
