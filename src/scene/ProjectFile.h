#pragma once

#include "scene/ProjectData.h"

#include <string>
#include <vector>

class Scene;
class UserPrompt;

// Texts of the project file dialogs.
extern const char* const PROJECT_FILE_FILTER;             // "ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||"
extern const char* const PROJECT_FILE_DEFAULT_EXTENSION;  // "anm"

// The Part records of a Scene as a project file holds them.
std::vector<ProjectPartRecord> ProjectPartRecordsOf(const Scene& scene);

// Writes one .mesh file per Part and the missing textures into the folder
// of path, then the project file at path, each atomically. Every target is
// checked first: a target that is no regular file refuses the save, and the
// read-only ones are asked about once (AskReplaceReadOnly); nothing is
// written then. Refuses with a message through prompt when there is no
// Motion or no Part, or when a target cannot be used; a .mesh file that
// cannot be written leaves the project file as it was. projectPath and
// projectFileName name path once the project file is written. Returns true
// when it was written; lastSaveError says why not, or lists the textures
// that could not be written.
bool SaveProject(Scene& scene, const std::string& path, UserPrompt& prompt);

// Replaces the scene with the project at path. The file is read and checked
// whole first: when it cannot be read or breaks a rule, returns 0 with
// lastLoadError saying where and why, and the scene is left as it was.
// Otherwise the scene is cleared and the Parts are loaded in order from the
// project's folder (name.mesh, else name.mqo, letter case ignored); when an
// object file is missing, loading stops there with 0: the Parts read so far
// stay (partners beyond them are dropped) and no Motion is read. Object files
// that exist but cannot be read still give Parts and are listed in
// lastLoadError. Otherwise every Motion is read and the last Part stays
// selected in the tree; returns 1 (posing the model is the caller's).
// sceneReplaced (optional) tells whether the scene was cleared and reloaded.
int LoadProject(Scene& scene, const std::string& path, bool* sceneReplaced = nullptr);

// Writes every texture of the mesh manager that has no file in directory yet,
// under its lower-cased name, in the format its name says (".bmp", ".dds",
// ".jpg", ".png", ".ppm", ".tga", tested in this order; other names are
// skipped). Returns one line per texture that could not be written; "" when none.
std::string WriteMissingTextures(Scene& scene, const std::string& directory);
