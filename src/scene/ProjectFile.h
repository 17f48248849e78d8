#pragma once

#include "scene/ProjectData.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;
class UserPrompt;

// Texts of the project file dialogs.
extern const char* const kProjectFileFilter;             // "ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||"
extern const char* const kProjectFileDefaultExtension;  // "anm"

// The Part records of a Scene as a project file holds them.
std::vector<ProjectPartRecord> ProjectPartRecordsOf(const Scene& scene);

// Writes one .mesh file per Part and the missing textures (PlanMissingTextures)
// into the folder of path, and the project file at path, as one set
// (FileSetWriter): all are put in place, the project file last, or none.
// Every target is checked first: a target that is no regular file refuses
// the save, and the read-only ones are asked about once
// (AskReplaceReadOnly); nothing is written then. Refuses with a message
// through prompt (headed by the cause, WriteFailureHeading) when there is no
// Motion or no Part, or when a file cannot be written; encoding the textures
// reports to prompt.Progress() and a cancel there ends the save without a
// message. projectPath and projectFileName name path once it is saved.
// Returns true when saved; lastSaveError says why not.
bool SaveProject(Scene& scene, const std::string& path, UserPrompt& prompt);

// Replaces the scene with the project at path. The file is read and checked
// whole first: when it cannot be read or breaks a rule, returns 0 with
// lastLoadError saying where and why, and the scene is left as it was.
// Otherwise the scene is cleared and the Parts are loaded in order from the
// project's folder (name.mesh, else name.mqo, letter case ignored); when an
// object file is missing, loading stops there with 0: the Parts read so far
// stay (partners beyond them are dropped) and no Motion is read. Object files
// that exist but cannot be read still give Parts and are listed in
// lastLoadError (the first few, then how many more). Otherwise every Motion is read and the last Part stays
// selected in the tree; returns 1 (posing the model is the caller's).
// sceneReplaced (optional) tells whether the scene was cleared and reloaded.
int LoadProject(Scene& scene, const std::string& path, bool* sceneReplaced = nullptr);

}  // namespace m3d
