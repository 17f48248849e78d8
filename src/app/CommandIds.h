#pragma once

// Numbers of the menu commands, panels and controls. Every widget's objectName
// is its number in decimal (IdName), so tests and tools find widgets by id.

#include "editor/MenuCommandIds.h"

#include <QString>

namespace m3d {

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

// Parts panel, its name-input dialog and the symmetry dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDD_SYMMETRY = 216;
inline constexpr int IDD_MIRRORED_NAME = 217;
inline constexpr int IDC_PARTS_ADD = 2007;
inline constexpr int IDC_PARTS_DELETE = 2008;
inline constexpr int IDC_PARTS_SWAP = 2009;
inline constexpr int IDC_PARTS_ADD_MIRRORED = 2100;
inline constexpr int IDC_PARTS_SYMMETRY = 2101;
inline constexpr int IDC_SYMMETRY_SCROLL = 2102;
inline constexpr int IDC_SYMMETRY_ID_FIRST = 2103;      // 16 rows: 2103 ... 2118
inline constexpr int IDC_SYMMETRY_NAME_FIRST = 2119;    // 2119 ... 2134
inline constexpr int IDC_SYMMETRY_PARENT_FIRST = 2135;  // 2135 ... 2150
// The Symmetry edit boxes of rows 0 ... 15 (not consecutive).
inline constexpr int IDC_SYMMETRY_EDITS[16] = {2152, 2157, 2159, 2160, 2161, 2162, 2163, 2164,
                                               2165, 2166, 2167, 2168, 2169, 2170, 2171, 2172};
inline constexpr int IDC_MIRRORED_NAME = 2158;

// Transform panel (template 207), grid width dialog (225) and scale dialog (227).
inline constexpr int IDD_GRID_WIDTH = 225;
inline constexpr int IDD_MODEL_SCALE = 227;
inline constexpr int IDC_GRID_XY = 2018;
inline constexpr int IDC_GRID_YZ = 2019;
inline constexpr int IDC_GRID_ZX = 2020;
inline constexpr int IDC_LINK_LR = 2064;
inline constexpr int IDC_GRID_WIDTH_SPIN = 2072;
inline constexpr int IDC_RELATIVE_ROTATION_H = 2083;
inline constexpr int IDC_RELATIVE_ROTATION_P = 2084;
inline constexpr int IDC_RELATIVE_ROTATION_B = 2085;
inline constexpr int IDC_RELATIVE_ROTATION_SET = 2086;
inline constexpr int IDC_ABSOLUTE_ROTATION_H = 2087;
inline constexpr int IDC_ABSOLUTE_ROTATION_P = 2089;
inline constexpr int IDC_ABSOLUTE_ROTATION_B = 2090;
inline constexpr int IDC_ABSOLUTE_ROTATION_SET = 2091;
inline constexpr int IDC_RELATIVE_POSITION_X = 2092;
inline constexpr int IDC_RELATIVE_POSITION_Y = 2093;
inline constexpr int IDC_RELATIVE_POSITION_Z = 2094;
inline constexpr int IDC_RELATIVE_POSITION_SET = 2095;
inline constexpr int IDC_ABSOLUTE_POSITION_X = 2096;
inline constexpr int IDC_ABSOLUTE_POSITION_Y = 2097;
inline constexpr int IDC_ABSOLUTE_POSITION_Z = 2098;
inline constexpr int IDC_ABSOLUTE_POSITION_SET = 2099;
inline constexpr int IDC_GRID_WIDTH = 2155;
inline constexpr int IDC_MODEL_SCALE = 2156;
inline constexpr int IDC_UNDO = 2181;
inline constexpr int IDC_REDO = 2182;
inline constexpr int IDC_FIT_VIEWS = 2183;

// Display toolbars (template 203, one per view) and the colour dialog (215).
inline constexpr int IDD_COLOUR_SETTINGS = 215;
inline constexpr int IDB_PAN = 204;
inline constexpr int IDB_ZOOM = 206;
inline constexpr int IDB_SINGLE_VIEW = 231;  // layout picture of the view shown alone
inline constexpr int IDB_FOUR_VIEWS = 233;   // layout picture in four-view mode
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
inline constexpr int IDC_VIEW_ONION_SKIN = 2190;
inline constexpr int IDC_VIEW_MOTION_PATH = 2191;
// The IK switch with the chain length, on every display toolbar.
inline constexpr int IDC_VIEW_IK = 2192;

// The .mesh overwrite question of a project save (template 226).
inline constexpr int IDD_MESH_OVERWRITE = 226;
inline constexpr int IDC_MESH_OVERWRITE_YES = 2175;
inline constexpr int IDC_MESH_OVERWRITE_YES_TO_ALL = 2176;
inline constexpr int IDC_MESH_OVERWRITE_NO = 2177;
inline constexpr int IDC_MESH_OVERWRITE_TEXT = 2178;
inline constexpr int IDC_MESH_OVERWRITE_CANCEL = 2067;

// DirectX export: the time scale dialog (template 234).
inline constexpr int IDD_EXPORT_XFILE = 234;
inline constexpr int IDC_TIME_SCALE_FACTOR = 2151;
inline constexpr int IDC_TIME_SCALE_FACTOR_SPIN = 2186;

// "モデルを読み込む": the scale asked after the file, whether images outside
// the model's folder are read, which animations become Motions and whether
// each starts at its first key (numbers of this program's own).
inline constexpr int IDD_IMPORT_MODEL = 241;
inline constexpr int IDC_IMPORT_SCALE = 2201;
inline constexpr int IDC_IMPORT_OUTSIDE_IMAGES = 2202;
inline constexpr int IDC_IMPORT_ANIMATIONS = 2203;
inline constexpr int IDC_IMPORT_FIRST_KEY = 2204;
inline constexpr int IDC_IMPORT_SIZE = 2205;

// The curve panel (numbers of this program's own).
inline constexpr int IDD_CURVE_PANEL = 242;
inline constexpr int IDC_CURVE_PART_NAME = 2300;
inline constexpr int IDC_CURVE_CHANNEL_FIRST = 2301;  // H, P, B, x, y, z: 2301 ... 2306
inline constexpr int IDC_CURVE_FIT = 2307;
inline constexpr int IDC_CURVE_MESSAGE = 2308;
inline constexpr int IDC_CURVE_NORMALISE = 2309;
inline constexpr int IDC_CURVE_VALUE_LABEL = 2310;
inline constexpr int IDC_CURVE_VALUE = 2311;

// The pivot dialog and the resize dialog of the Parts menu (numbers of this program's own).
inline constexpr int IDD_MOVE_PIVOT = 244;
inline constexpr int IDC_PIVOT_X = 2220;
inline constexpr int IDC_PIVOT_Y = 2221;
inline constexpr int IDC_PIVOT_Z = 2222;
inline constexpr int IDC_PIVOT_BOX_CENTRE = 2223;
inline constexpr int IDC_PIVOT_BOX_BOTTOM = 2224;
inline constexpr int IDC_PIVOT_WORLD_ORIGIN = 2225;
inline constexpr int IDD_RESIZE_PART = 245;
inline constexpr int IDC_RESIZE_PART = 2226;
// The IK pole and joint limit dialogs.
inline constexpr int IDD_IK_POLE = 246;
inline constexpr int IDC_POLE_X = 2227;
inline constexpr int IDC_POLE_Y = 2228;
inline constexpr int IDC_POLE_Z = 2229;
inline constexpr int IDC_POLE_NONE = 2230;
inline constexpr int IDD_JOINT_LIMIT = 247;
inline constexpr int IDC_JOINT_AXIS = 2231;
inline constexpr int IDC_JOINT_MIN = 2232;
inline constexpr int IDC_JOINT_MAX = 2233;
// The movie export dialog.
inline constexpr int IDD_RENDER_MOVIE = 248;
inline constexpr int IDC_MOVIE_MOTION = 2234;
inline constexpr int IDC_MOVIE_FIRST_FRAME = 2235;
inline constexpr int IDC_MOVIE_LAST_FRAME = 2236;
inline constexpr int IDC_MOVIE_WIDTH = 2237;
inline constexpr int IDC_MOVIE_HEIGHT = 2238;
inline constexpr int IDC_MOVIE_FRAME_RATE = 2239;
inline constexpr int IDC_MOVIE_VIEW = 2240;
inline constexpr int IDC_MOVIE_TRANSPARENT = 2241;
inline constexpr int IDC_MOVIE_PATH = 2242;
inline constexpr int IDC_MOVIE_BROWSE = 2243;
inline constexpr int IDC_MOVIE_FORMAT = 2244;
// The move snap dialog.
inline constexpr int IDD_MOVE_SNAP = 252;
inline constexpr int IDC_MOVE_SNAP = 2260;
inline constexpr int IDD_EXPORT_SCALE = 253;
inline constexpr int IDC_EXPORT_SCALE = 2261;
inline constexpr int IDC_EXPORT_SCALE_HEIGHT = 2262;
inline constexpr int IDC_EXPORT_BAKE = 2263;
// The recovery dialog.
inline constexpr int IDD_RECOVERY = 249;
inline constexpr int IDC_RECOVERY_LIST = 2250;
inline constexpr int IDC_RECOVERY_RESTORE = 2251;
inline constexpr int IDC_RECOVERY_DISCARD = 2252;
inline constexpr int IDC_RECOVERY_LATER = 2253;

// The objectName of the widget with number id.
inline QString IdName(int id) { return QString::number(id); }

// Motion panel (209), motion name dialog (213) and motion length dialog (214).
inline constexpr int IDD_MOTION_NAME = 213;
inline constexpr int IDD_MOTION_LENGTH = 214;
inline constexpr int IDC_MOTION_LIST = 2038;
inline constexpr int IDC_MOTION_NEW = 2046;
inline constexpr int IDC_MOTION_DELETE = 2047;
inline constexpr int IDC_MOTION_RENAME = 2040;
inline constexpr int IDC_MOTION_CURRENT_FRAME = 2071;
inline constexpr int IDC_MOTION_LENGTH_LABEL = 2069;
inline constexpr int IDC_MOTION_CHANGE_LENGTH = 2068;
inline constexpr int IDC_MOTION_RULER_FIRST = 2074;     // ... 2081
inline constexpr int IDC_MOTION_ROW_NAME_FIRST = 2054;  // ... 2061
// A wider or zoomed timeline's further ruler numbers, a taller one's further row names.
inline constexpr int IDC_MOTION_RULER_MORE_FIRST = 3000;     // 3000 ... 3999
inline constexpr int IDC_MOTION_ROW_NAME_MORE_FIRST = 4000;  // 4000 ... 4999
// Real-time playback and the rate achieved while playing.
inline constexpr int IDC_MOTION_REAL_TIME = 2290;
inline constexpr int IDC_MOTION_ACHIEVED_RATE = 2291;
inline constexpr int IDC_MOTION_LOOP = 2292;
inline constexpr int IDC_MOTION_ROWS_SCROLL = 2052;
inline constexpr int IDC_MOTION_FRAMES_SCROLL = 2053;
inline constexpr int IDC_MOTION_PLAY = 2042;
inline constexpr int IDC_MOTION_STOP = 2043;
inline constexpr int IDC_MOTION_FRAME_RATE = 2151;
inline constexpr int IDC_MOTION_FRAME_RATE_SPIN = 2184;
inline constexpr int IDC_MOTION_SET_KEY = 2044;
inline constexpr int IDC_MOTION_DELETE_KEY = 2045;
inline constexpr int IDC_MOTION_SET_ALL_KEYS = 2048;
inline constexpr int IDC_MOTION_DELETE_ALL_KEYS = 2049;
inline constexpr int IDC_MOTION_COPY_KEYS = 2050;
inline constexpr int IDC_MOTION_PASTE_KEYS = 2051;
inline constexpr int IDC_MOTION_NAME = 2065;
inline constexpr int IDC_MOTION_DUPLICATE = 2062;
inline constexpr int IDC_MOTION_NAME_OK = 2066;
inline constexpr int IDC_MOTION_NAME_CANCEL = 2067;
inline constexpr int IDC_MOTION_LENGTH = 2070;
inline constexpr int IDC_MOTION_LENGTH_SPIN = 2072;
inline constexpr int IDC_MOTION_LENGTH_OK = 2073;

}  // namespace m3d
