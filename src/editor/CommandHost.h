#pragma once

#include "math/Vec3.h"
#include "scene/JointLimit.h"

#include <optional>
#include <string>

namespace m3d {

class UserPrompt;

// The answer of the motion name dialog.
struct MotionNameAnswer {
    std::string name;
    bool duplicate = false;  // "現在のモーションを複製" was ticked
};

// The answer of the IK pole dialog: the pole, or none ("ポールなし").
struct PoleAnswer {
    std::optional<Vec3> pole;
};

// What the commands ask of the program around them: the questions and
// messages (Prompt), and the dialogs in which the user chooses what a command
// works on. The window answers with its dialogs, the command line from its
// arguments, the tests with a script. Each Ask gives nothing ("" or no value)
// when the user cancelled; the defaults cancel and show nothing, so a host
// implements only the dialogs of the commands it runs.
class CommandHost {
public:
    virtual ~CommandHost() = default;
    virtual UserPrompt& Prompt() = 0;

    // An object file to open (.mqo or .mesh), asked under title, starting in
    // the folder of the last object file added.
    virtual std::string AskObjectPath(const std::string& /*title*/) { return {}; }
    // A project file to open.
    virtual std::string AskProjectPath() { return {}; }
    virtual std::optional<int> AskGridWidth(int /*current*/) { return std::nullopt; }
    // A factor within kMinModelScale ... kMaxModelScale.
    virtual std::optional<float> AskScaleFactor() { return std::nullopt; }
    // The step of a snapped move (0 ... PosingState::kMaxMoveSnap, 0: the
    // grid's width), starting from current; nullopt when cancelled.
    virtual std::optional<float> AskMoveSnap(float /*current*/) { return std::nullopt; }
    // A name ValidateMotionName accepts.
    virtual std::optional<MotionNameAnswer> AskMotionName() { return std::nullopt; }
    virtual std::optional<int> AskMotionLength(int /*current*/) { return std::nullopt; }
    // Where the current Part's pivot goes, in its own coordinates.
    virtual std::optional<Vec3> AskPivotPoint() { return std::nullopt; }
    // A factor within kMinPartScale ... kMaxPartScale for the current Part's geometry.
    virtual std::optional<float> AskPartScale() { return std::nullopt; }
    // The current Part's IK pole, starting from shown (world coordinates;
    // nothing to start from when the Part has no chain to bend).
    virtual std::optional<PoleAnswer> AskPole(std::optional<Vec3> /*shown*/) { return std::nullopt; }
    // The current Part's joint limit, starting from current; IsValidJointLimit holds.
    virtual std::optional<JointLimit> AskJointLimit(const JointLimit& /*current*/) { return std::nullopt; }
    // Reads what the user typed into the session before the command uses it:
    // the transform panel's twelve fields before a "Set", the frame rate
    // before playback starts. false (the field shows why) when refused.
    virtual bool ReadTransformFields() { return true; }
    virtual bool ReadFrameRate() { return true; }

    // Dialogs that run the session's commands themselves when confirmed.
    virtual void ShowColourDialog() {}
    virtual void ShowMirroredNameDialog() {}
    virtual void ShowRenamePartDialog() {}
    virtual void ShowSymmetryDialog() {}
    virtual void ShowExportXDialogs() {}
    virtual void ShowExportGltfDialog() {}
    // "モデルを読み込む": the file, scale and frame rate, then ImportModelCommand.
    virtual void ShowImportModelDialog() {}
    // "動画出力": renders the current Motion to a picture or a video.
    virtual void ShowMovieExportDialog() {}
    // "復元…": what earlier runs left unsaved, to restore or discard.
    virtual void ShowRecoveryDialog() {}
    virtual void ShowHelpContents() {}
    virtual void ShowUserGuide() {}
    virtual void ShowAbout() {}
    // Closes the program (after its own question about unsaved work).
    virtual void Quit() {}
};

}  // namespace m3d
