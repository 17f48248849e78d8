#pragma once

#include "scene/ProjectFile.h"
#include "text/NumberText.h"

#include <string>

namespace m3d {

class EditorSession;
class Scene;

// Opens a project for a command as the File menu would (the last Motion
// current at frame 0), for reading or editing (ProjectOpening); what was done
// about, or found of, an interrupted save of it and what its side file could
// not give are printed as warning lines on stderr. Any problem (unreadable or
// damaged file, missing or unreadable object file) is printed as one line on
// stderr and gives false: a command never works on a partly loaded model.
bool LoadProjectForCommand(EditorSession& session, const std::string& path, ProjectOpening opening);

// Saves the project as the File menu would, without a person to ask:
// existing .mesh files in the target folder are kept, or all replaced when
// overwriteMeshes is set; read-only targets refuse the whole save unless
// replaceReadOnly is set. Interrupted saves ended on the way are printed as
// warnings (CommandPrompt). Anything not written, and kept .mesh files that
// hold other geometry than the model (a partial save: the project file is
// written), is printed as one line on stderr and gives false.
bool SaveProjectForCommand(Scene& scene, const std::string& path, bool overwriteMeshes, bool replaceReadOnly);

// The check of a command writing one file: true, with a line on stderr, when
// path is a read-only file and overwrite (the --overwrite option) is not set.
bool RefuseReadOnlyOutput(const std::string& path, bool overwrite);

// Index of the Motion named name; -1, with a line on stderr naming the
// project at path, when there is none.
int FindMotionForCommand(const Scene& scene, const std::string& path, const std::string& name);

// Index of the Part whose display name (as info lists it) is name; those of
// a loaded project are unique. -1, with a line on stderr naming the project
// at path, when there is none.
int FindPartForCommand(const Scene& scene, const std::string& path, const std::string& name);

// Prints text (possibly several lines) as one line on stderr.
void PrintFailure(const std::string& text);

// Prints {"written":PATH,"parts":N,"motions":M} for the project scene was saved as at path.
void PrintWrittenProject(const std::string& path, const Scene& scene);

}  // namespace m3d
