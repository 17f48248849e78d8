#pragma once

namespace m3d {

// Numbers of the menu commands and of the keyboard commands without a menu
// item, as the program's resources number them. The command registry names
// each command's number; the window names its menu item after it.

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
inline constexpr int ID_MOVE_SNAP = 40110;  // a number of this program's own
inline constexpr int ID_POSE_MIRROR = 40042;
inline constexpr int ID_POSE_LEVEL = 40043;
inline constexpr int ID_MOTION_GROUND = 40044;
inline constexpr int ID_MOTION_MIRROR = 40045;
inline constexpr int ID_MOTION_TURN_Z = 40046;
inline constexpr int ID_MOTION_LEVEL = 40047;
inline constexpr int ID_HELP_CONTENTS = 40048;
inline constexpr int ID_EXPORT_GLTF = 40049;
inline constexpr int ID_FILE_IMPORT_MODEL = 40050;
// The File menu's pictures of a Motion.
inline constexpr int ID_FILE_RENDER_MOVIE = 40102;
// The File menu's recovery of unsaved work.
inline constexpr int ID_FILE_RECOVER = 40103;
inline constexpr int ID_HELP_GUIDE = 40060;
inline constexpr int ID_VIEW_FIT_WHOLE_MODEL = 40061;
inline constexpr int ID_PARTS_RENAME = 40062;
// The Motion menu: playback, frame stepping and the key commands.
inline constexpr int ID_MOTION_PLAY_STOP = 40070;
inline constexpr int ID_MOTION_PREVIOUS_FRAME = 40071;
inline constexpr int ID_MOTION_NEXT_FRAME = 40072;
inline constexpr int ID_MOTION_PREVIOUS_KEY = 40073;
inline constexpr int ID_MOTION_NEXT_KEY = 40074;
inline constexpr int ID_MOTION_FIRST_FRAME = 40075;
inline constexpr int ID_MOTION_LAST_FRAME = 40076;
inline constexpr int ID_MOTION_SET_KEY = 40077;
inline constexpr int ID_MOTION_SET_ALL_KEYS = 40078;
inline constexpr int ID_MOTION_DELETE_KEY = 40079;
// The Motion menu's interpolation submenu: the keys' interpolation, then that of new keys.
inline constexpr int ID_MOTION_INTERPOLATION_LINEAR = 40080;
inline constexpr int ID_MOTION_INTERPOLATION_SMOOTH = 40081;
inline constexpr int ID_MOTION_INTERPOLATION_EASE_IN = 40082;
inline constexpr int ID_MOTION_INTERPOLATION_EASE_OUT = 40083;
inline constexpr int ID_MOTION_INTERPOLATION_EASE_IN_OUT = 40084;
inline constexpr int ID_MOTION_INTERPOLATION_STEP = 40085;
inline constexpr int ID_MOTION_NEW_KEYS_LINEAR = 40086;
inline constexpr int ID_MOTION_NEW_KEYS_SMOOTH = 40087;
inline constexpr int ID_MOTION_NEW_KEYS_EASE_IN = 40088;
inline constexpr int ID_MOTION_NEW_KEYS_EASE_OUT = 40089;
inline constexpr int ID_MOTION_NEW_KEYS_EASE_IN_OUT = 40090;
inline constexpr int ID_MOTION_NEW_KEYS_STEP = 40091;
// The Motion menu's loop switch.
inline constexpr int ID_MOTION_LOOP = 40111;
inline constexpr int ID_MOTION_MATCH_ENDS = 40112;
// The View menu's curve panel switch.
inline constexpr int ID_VIEW_CURVES = 40092;
// The Parts menu's pivot and size of the selected Part.
inline constexpr int ID_PARTS_MOVE_PIVOT = 40093;
inline constexpr int ID_PARTS_RESIZE = 40094;
// The Parts menu's inverse kinematics.
inline constexpr int ID_PARTS_IK = 40095;
inline constexpr int ID_PARTS_IK_LONGER_CHAIN = 40096;
inline constexpr int ID_PARTS_IK_SHORTER_CHAIN = 40097;
inline constexpr int ID_PARTS_IK_PIN = 40098;
inline constexpr int ID_PARTS_IK_POLE = 40099;
inline constexpr int ID_PARTS_JOINT_LIMITS = 40100;
inline constexpr int ID_PARTS_IK_KEYS = 40101;
// The View menu's switch between the Part's own axes and the world's for the gizmo.
inline constexpr int ID_VIEW_LOCAL_AXES = 40240;
inline constexpr int ID_APP_EXIT = 57665;
// The File menu's recent projects, first to eighth.
inline constexpr int ID_FILE_MRU_FIRST = 57616;  // ... 57623
// The pose history's keyboard commands (the class library's undo and redo ids).
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;

}  // namespace m3d
