#pragma once

#include "io/CommitRecovery.h"
#include "io/Outcome.h"
#include "scene/ProjectData.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;
class UserPrompt;

// Texts of the project file dialogs.
extern const char* const kProjectFileFilter;            // "ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||"
extern const char* const kProjectFileDefaultExtension;  // "anm"

// The Part records of a Scene as a project file holds them.
std::vector<ProjectPartRecord> ProjectPartRecordsOf(const Scene& scene);

// What SaveProject came to.
struct ProjectSave {
    // Success only when what is on disk now is the model as the scene holds
    // it. A failure's message says why (it was shown through the prompt
    // already, except after a cancel or a declined read-only question).
    Outcome outcome;
    // The project file was written: also when outcome is a failure because
    // .mesh files answered "いいえ" keep other geometry (a partial save).
    bool projectWritten = false;
    explicit operator bool() const { return outcome.Ok(); }
};

// Writes one .mesh file per Part and the missing textures (PlanMissingTextures)
// into the folder of path, and the project file at path, as one set
// (FileSetWriter): all are put in place, the project file last, or none.
// Every target is checked first: a target that is no regular file refuses
// the save, and the read-only ones are asked about once
// (AskReplaceReadOnly); nothing is written then. Refuses with a message
// through prompt (headed by the cause, WriteFailureHeading) when there is no
// Motion or no Part, when two Parts would write one .mesh file, or when a
// file cannot be written; encoding the textures reports to prompt.Progress().
// What was done about interrupted saves found on the way is shown first
// (ShowRecoveryNotes).
// "キャンセル" (or Escape) on any question, or a cancel of the progress, ends
// the save with nothing written and no message. "いいえ" for a .mesh file
// keeps it; when it then differs from its Part, the rest is written and the
// save is partial: a message through prompt lists those files, and outcome
// fails. projectPath and projectFileName name path once the project file is
// written.
ProjectSave SaveProject(Scene& scene, const std::string& path, UserPrompt& prompt);

// What a project is opened for.
enum class ProjectOpening {
    // Only reading it (info, pose, pictures, exports): an interrupted save of
    // it is left as it is, and a Pending note says so.
    Reading,
    // Editing it (the window's open, apply, resave): the interrupted saves in
    // its folder are ended first (RecoverCommitsIn), so that the files read
    // are one set.
    Editing,
};

// What LoadProject came to.
struct ProjectLoad {
    // Every Part was made and every Motion read (object files that exist but
    // cannot be read still give Parts, listed in outcome).
    bool complete = false;
    // The scene was cleared and reloaded; false when the file was refused
    // and the scene is as it was.
    bool sceneReplaced = false;
    // Success when everything was read; otherwise it names the file, the
    // place and the reason, one line per problem.
    Outcome outcome;
    // What was done about, or (only reading) found of, a save killed while it
    // put its files in place (before the file was read); no failure of the load.
    std::vector<CommitRecoveryNote> recoveries;
    // What the side file (ProjectExtrasPath) could not give, naming it and
    // why; no failure of the load: those keys stay linear, those Parts free.
    Outcome extras;
};

// Replaces the scene with the project at path. What is done about a save of
// it that was killed while it put its files in place depends on opening
// (reported in recoveries). The file is read and
// checked whole first: when it cannot be read or breaks a rule, the load
// fails saying where and why, and the scene is left as it was. Otherwise the scene
// is cleared and the Parts are loaded in order from the project's folder
// (name.mesh, else name.mqo, letter case ignored); when an object file is
// missing, loading stops there, incomplete: the Parts read so far stay
// (partners beyond them are dropped) and no Motion is read. Object files
// that exist but cannot be read still give Parts and are listed in the
// outcome (the first few, then how many more). Otherwise every Motion is read
// and the last Part stays selected in the tree (posing the model is the
// caller's). projectPath and projectFileName name path after a complete load;
// a replaced scene that is incomplete is untitled.
[[nodiscard]] ProjectLoad LoadProject(Scene& scene, const std::string& path, ProjectOpening opening);

}  // namespace m3d
