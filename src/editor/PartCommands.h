#pragma once

#include "editor/PartNameRules.h"
#include "io/Outcome.h"

#include <string>
#include <vector>

namespace m3d {

class EditorSession;
class UserPrompt;

// Texts of the object file dialog (the program shows it; the commands below
// take its answer).
extern const char* const kObjectFileFilterName;  // "ﾒﾀｾｺｲｱｵﾌﾞｼﾞｪｸﾄ(*.mqo)/最適化ﾒｯｼｭ(*.mesh)"
extern const char* const kObjectFilePattern;      // "*.mqo;*.mesh"
extern const char* const kAddObjectDialogTitle;   // "オブジェクトを追加"
extern const char* const kSwapObjectDialogTitle;  // "オブジェクトを入れ替え"
// The message for a mirrored name whose file is already in the folder (same caption).
extern const char* const kMirroredFileExistsText;

// Adds the object file at path as a Part under the selected tree item (one
// undo step) and rebuilds the title. A file that cannot be read (missing,
// damaged, not a model) changes nothing; the failure names the file and the
// reason.
Outcome AddObject(EditorSession& session, const std::string& path);

// Removes the selected Part with its subtree and their tracks (nothing with
// the root entry selected) as one undo step, then rebuilds the title.
void DeleteCurrentPart(EditorSession& session);

// Replaces the current Part's geometry with the object file at path ("" when
// the file dialog was cancelled) and renames the Part after the file; its
// place, links, transform and keys stay; addObjectDirectory does not change.
// A file that cannot be read leaves the Part as it was, and loaded names the
// file and the reason. Without a current Part nothing happens and hadPart is
// false (the program shows no file dialog then). Otherwise the motion panel
// and the title are refreshed, also after a cancel or a failed load.
struct ObjectSwap {
    bool hadPart = false;
    Outcome loaded;
};
ObjectSwap SwapCurrentObject(EditorSession& session, const std::string& path);

// The name the mirrored-part dialog offers: the current Part's baseName + "(2)";
// "" without a current Part.
std::string MirroredPartDefaultName(const EditorSession& session);

enum class MirroredPartResult : int {
    Added = 0,
    NothingSelected = 1,  // no current Part: nothing done, no dialog
    NameTaken = 2,        // a Part's baseName equals name: show the caution, keep the dialog open
    NameInvalid = 3,      // empty or holding a folder separator: likewise
    FileExists = 4,       // name.mesh is already in the folder: likewise
    FileNotWritten = 5,   // the mirrored file could not be written: file says why
    FileNotRead = 6,      // it was written but could not be read back (and is removed): likewise
    NameNotSavable = 7,   // a project file could not hold it (CheckPartName): as NameTaken
    NameFolded = 8,       // a character would change in the project file (CheckPartName): as NameTaken
};

// What AddMirroredPart came to: the result, and for the two file results the
// failure naming the file and the reason.
struct MirroredPartOutcome {
    MirroredPartResult result = MirroredPartResult::Added;
    Outcome file;
};

// Writes the current Part S's mesh mirrored across x = 0 to
// addObjectDirectory/base.mesh (base: name cut at its first '.', as every
// Part's name is) and adds that file as a new Part N under S's
// parent, or under that parent's partner when it has one (top level for a
// top-level S). N gets S's position with x negated and S's rotation reflected
// through x = 0; S and N become each other's partners (a previous partner of
// S keeps its own link). N's tracks hold only the frame-0 key made when it was
// added. All of it is one undo step; then the title is rebuilt. A name that
// CheckPartName refuses or whose file exists already changes nothing
// (see the results): no file is ever replaced, and a file that cannot be
// written or read back adds nothing.
MirroredPartOutcome AddMirroredPart(EditorSession& session, const std::string& name);

// What a drop of files onto the view does.
enum class DroppedFileAction : int {
    Ignored = 0,      // more than one file (or none), or not a known kind
    OpenProject = 1,  // the file name contains ".anm": asked first
    AddObject = 2,    // else it contains ".mesh" or ".mqo", or is another program's model
    ImportModel = 3,  // another program's model dropped with Shift held: its Parts and Motions
};
// The rule: one file only; substring tests on its name (after the last folder
// separator, either kind) in the order ".anm", then ".mesh" or ".mqo"; then
// the endings of other programs' formats (foreign/ForeignFormats.h), which
// add one Part, or import the model when asModel (Shift held).
DroppedFileAction DroppedFileActionFor(const std::vector<std::string>& paths, bool asModel = false);

// What a drop came to: the action the rule chose, and what could not be read
// (success when everything was, or nothing was opened).
struct DropOutcome {
    DroppedFileAction action = DroppedFileAction::Ignored;
    Outcome read;
};
// Carries out a drop: a project is opened (when something is unsaved, after
// "現在のデータは失われます。よろしいですか？" ("新規作成") is answered Yes,
// and what was done about an interrupted save of it is shown through prompt);
// an object file is added with AddObject.
DropOutcome DropFiles(EditorSession& session, UserPrompt& prompt, const std::vector<std::string>& paths,
                      bool asModel = false);

}  // namespace m3d
