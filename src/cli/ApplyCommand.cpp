#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "editor/CommandHost.h"
#include "editor/CommandRegistry.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/PartShapeCommands.h"
#include "io/PathLookup.h"
#include "anim/PartPivot.h"
#include "scene/KeyInterpolation.h"
#include "scene/ModelScale.h"
#include "scene/UserPrompt.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "apply PROJECT.anm [--motion NAME] OP... --out OUT.anm [--overwrite]\n"
    "    OP, applied in the order given: --delete-redundant-keys --mirror-motion --ground-all-keyframes\n"
    "    --level-part INDEX --turn-around --scale S (0.0001 ... 10000; OUT.anm must then be in another\n"
    "    folder than PROJECT.anm, and every .mesh file there is written)\n"
    "    --interpolation MODE [--part NAME] [--frames A-B]: MODE for the keys of Part NAME (of every\n"
    "    Part without --part) at frames A ... B (every key without --frames); MODE: linear step smooth\n"
    "    ease-in ease-out ease-in-out ease:x1,y1,x2,y2 (x1, x2: 0 ... 1) bezier:auto-clamped bezier:auto\n"
    "    bezier:aligned bezier:free bezier:vector\n"
    "    --tangents auto-clamped|auto|aligned|free|vector [--part NAME] [--frames A-B]: the same as\n"
    "    --interpolation bezier:MODE (smooth keys become Bezier keys with those handles; aligned and free\n"
    "    keys keep the handles they showed as their own)\n"
    "    --loop on|off: makes the Motion a loop (its last frame its first again; Bezier curves wrap\n"
    "    across the seam of a track keyed at both ends; a key set at either end is set at both) or not\n"
    "    --match-ends: gives each Part's frame-0 key to the last frame too\n"
    "    --pivot PART X Y Z: moves Part PART's pivot to X Y Z of its own coordinates, nothing moving\n"
    "    in the world; --scale-part PART S: scales Part PART's geometry about its pivot (S: 0.0001 ...\n"
    "    10000); PART is a display name; both write new .mesh files (OUT.anm in another folder), and\n"
    "    need no --motion when they are all there is\n"
    "    --overwrite: replace the .mesh files already in OUT.anm's folder, and read-only files";

struct Operation {
    std::string name;  // the option without its dashes
    int part = -1;
    float factor = 1.0f;
    KeyInterpolation interpolation = {};
    bool loop = false;          // --loop
    std::string partName = {};  // --pivot and --scale-part
    Vec3 point = {};

    // Whether it works on the geometry of one Part, not on a Motion.
    bool OnPartShape() const { return name == "pivot" || name == "scale-part"; }
};

// The keys an --interpolation gives its interpolation to.
struct KeySelection {
    int part = -1;  // -1: every Part
    int firstFrame = 0;
    int lastFrame = INT_MAX;
};

// "A-B", two frames 0 or more with A <= B, into selection.
bool ParseFrameRange(const std::string& text, KeySelection& selection)
{
    const size_t dash = text.find('-');
    if (dash == std::string::npos) return false;
    int first = 0, last = 0;
    if (!ParseInteger(text.substr(0, dash), first) || !ParseInteger(text.substr(dash + 1), last) || first < 0 ||
        first > last)
        return false;
    selection.firstFrame = first;
    selection.lastFrame = last;
    return true;
}

// Gives the selected keys of Motion motion interpolation; returns how many
// keys were selected.
int GiveInterpolation(Scene& scene, int motion, const KeySelection& selection, const KeyInterpolation& interpolation)
{
    int selected = 0;
    for (int part = 0; part < scene.PartCount(); ++part) {
        if (selection.part >= 0 && part != selection.part) continue;
        for (const KeyFrame& key : scene.MotionAt(motion).tracks[size_t(part)].keys) {
            if (key.frame < selection.firstFrame || key.frame > selection.lastFrame) continue;
            SetKeyInterpolation(scene, motion, part, key.frame, interpolation);
            ++selected;
        }
    }
    return selected;
}

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

// Folder of a path as given ("" is the current folder).
std::string FolderOf(const std::string& path)
{
    const std::string folder = DirectoryOf(path);
    return folder.empty() ? "." : folder;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(FolderOf(a), FolderOf(b), ec);
}

// Runs the registry's batch commands without a person: the scale dialog is
// answered with the option's factor, and a message means the command refused.
class ApplyHost : public CommandHost, private UserPrompt {
public:
    UserPrompt& Prompt() override { return *this; }
    std::optional<float> AskScaleFactor() override { return factor; }

    float factor = 1.0f;
    std::string message;

private:
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    YesNoCancel AskYesNoCancel(const std::string&, const std::string&) override { return YesNoCancel::Cancel; }
    void ShowMessage(const std::string& text, const std::string&) override { message = text; }
    std::string AskSavePath(const std::string&, const std::string&) override { return std::string(); }
    MeshOverwriteAnswer AskMeshOverwrite(const std::string&) override { return MeshOverwriteAnswer::No; }
};

// The batch command an option names ("--mirror-motion"); nullptr for none.
const CommandEntry* BatchCommand(const std::string& option)
{
    if (option.rfind("--", 0) != 0) return nullptr;
    const CommandEntry* entry = FindCommand(option.substr(2));
    return entry && entry->batch ? entry : nullptr;
}

// false when the operation was refused (only a scale can be).
bool Run(EditorSession& session, ApplyHost& host, const Operation& op)
{
    const CommandEntry* entry = FindCommand(op.name);
    if (op.name == "level-part") session.SelectPart(op.part);
    host.factor = op.factor;
    host.message.clear();
    RunCommand(entry->command, session, host);
    return host.message.empty();
}

int Apply(const std::vector<std::string>& args)
{
    std::string path, motionName, outPath;
    std::optional<std::string> partName, frameRange;
    bool haveMotion = false, overwrite = false, scaled = false, interpolated = false;
    std::vector<Operation> operations;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--motion" && hasValue) {
            motionName = args[++i];
            haveMotion = true;
        } else if (arg == "--out" && hasValue) {
            outPath = args[++i];
        } else if (arg == "--overwrite") {
            overwrite = true;
        } else if (arg == "--level-part" && hasValue) {
            Operation op{"level-part"};
            if (!ParseInteger(args[++i], op.part) || op.part < 0) return Usage();
            operations.push_back(op);
        } else if (arg == "--scale" && hasValue) {
            Operation op{"scale"};
            if (!ParseFloat(args[++i], op.factor) || !(op.factor >= kMinModelScale && op.factor <= kMaxModelScale))
                return Usage();
            operations.push_back(op);
            scaled = true;
        } else if ((arg == "--interpolation" || arg == "--tangents") && hasValue) {
            // --tangents MODE is --interpolation bezier:MODE.
            const bool tangents = arg == "--tangents";
            const std::optional<KeyInterpolation> mode = ParseInterpolation((tangents ? "bezier:" : "") + args[++i]);
            if (!mode) {
                std::fprintf(stderr, "%s %s: %s\n", arg.c_str(), args[i].c_str(),
                             tangents ? "give auto-clamped, auto, aligned, free or vector"
                                      : "not an interpolation; give linear, step, smooth, ease-in, ease-out, "
                                        "ease-in-out, ease:x1,y1,x2,y2 with x1 and x2 within 0 ... 1, "
                                        "bezier:auto-clamped, bezier:auto, bezier:aligned, bezier:free or "
                                        "bezier:vector");
                return 1;
            }
            Operation op{"interpolation"};
            op.interpolation = *mode;
            operations.push_back(op);
            interpolated = true;
        } else if (arg == "--loop" && hasValue && (args[i + 1] == "on" || args[i + 1] == "off")) {
            Operation op{"loop"};
            op.loop = args[++i] == "on";
            operations.push_back(op);
        } else if (arg == "--pivot" && i + 4 < args.size()) {
            Operation op{"pivot"};
            op.partName = args[++i];
            for (float* value : {&op.point.x, &op.point.y, &op.point.z})
                if (!ParseFloat(args[++i], *value) || !std::isfinite(*value)) return Usage();
            operations.push_back(op);
            scaled = true;
        } else if (arg == "--scale-part" && i + 2 < args.size()) {
            Operation op{"scale-part"};
            op.partName = args[++i];
            if (!ParseFloat(args[++i], op.factor) || !(op.factor >= kMinPartScale && op.factor <= kMaxPartScale))
                return Usage();
            operations.push_back(op);
            scaled = true;
        } else if (arg == "--part" && hasValue && !partName) {
            partName = args[++i];
        } else if (arg == "--frames" && hasValue && !frameRange) {
            frameRange = args[++i];
        } else if (arg != "--level-part" && arg != "--scale" && BatchCommand(arg)) {
            operations.push_back({arg.substr(2)});
        } else if (path.empty() && arg.rfind("--", 0) != 0) {
            path = arg;
        } else {
            return Usage();
        }
    }
    const bool motionNeeded =
        std::any_of(operations.begin(), operations.end(), [](const Operation& op) { return !op.OnPartShape(); });
    if (path.empty() || (motionNeeded && !haveMotion) || outPath.empty() || operations.empty()) return Usage();
    // --part and --frames choose the keys of --interpolation only.
    if (!interpolated && (partName || frameRange)) return Usage();
    KeySelection selection;
    if (frameRange && !ParseFrameRange(*frameRange, selection)) {
        std::fprintf(stderr, "--frames %s: give FIRST-LAST, two frames 0 or more with FIRST <= LAST\n",
                     frameRange->c_str());
        return 1;
    }
    // The scaled geometry belongs in the new project's .mesh files; written
    // beside the source project they would no longer fit its keys.
    if (scaled && SameFolder(path, outPath)) {
        std::fprintf(stderr,
                     "%s: --scale, --pivot and --scale-part write new .mesh files, so the output must go to another "
                     "folder than %s\n",
                     outPath.c_str(), path.c_str());
        return 1;
    }

    EditorSession session;
    Scene& scene = session.GetScene();
    if (!LoadProjectForCommand(session, path, ProjectOpening::Editing)) return 1;
    const int motion = haveMotion ? FindMotionForCommand(scene, path, motionName) : scene.MotionCount() - 1;
    if (haveMotion && motion < 0) return 1;
    if (partName && (selection.part = FindPartForCommand(scene, path, *partName)) < 0) return 1;
    for (Operation& op : operations) {
        if (op.OnPartShape() && (op.part = FindPartForCommand(scene, path, op.partName)) < 0) return 1;
        if (op.name == "level-part" && op.part >= scene.PartCount()) {
            std::fprintf(stderr, "%s: --level-part %d: the project has %d Parts\n", path.c_str(), op.part,
                         scene.PartCount());
            return 1;
        }
    }
    if (motion >= 0) {
        session.SelectMotion(motion);
        session.SetCurrentFrame(0);
        EvaluatePose(scene, motion, 0);
    }
    ApplyHost host;
    int interpolatedKeys = 0;
    for (const Operation& op : operations) {
        if (op.name == "interpolation") {
            interpolatedKeys += GiveInterpolation(scene, motion, selection, op.interpolation);
            continue;
        }
        if (op.name == "loop") {
            SetMotionLoopCommand(session, motion, op.loop);
            continue;
        }
        if (op.OnPartShape()) {
            session.SelectPart(op.part);
            if (op.name != "pivot") {
                ResizePartCommand(session, op.factor);
            } else if (!MovePivotCommand(session, op.point) && !PivotKeepsShape(scene, op.part, op.point)) {
                std::fprintf(stderr,
                             "%s: --pivot %s: the point is too far from the Part to keep its shape about it; nothing "
                             "was written\n",
                             path.c_str(), op.partName.c_str());
                return 1;
            }
            continue;
        }
        if (!Run(session, host, op)) {
            std::fprintf(stderr, "%s: --scale %g would take the model beyond the float range; nothing was written\n",
                         path.c_str(), static_cast<double>(op.factor));
            return 1;
        }
    }
    if (!SaveProjectForCommand(scene, outPath, overwrite || scaled, overwrite)) return 1;

    JsonWriter json;
    json.BeginObject();
    if (haveMotion) json.Key("motion").String(motionName);
    json.Key("operations").BeginArray();
    for (const Operation& op : operations) json.String(op.name);
    json.EndArray();
    if (haveMotion) {
        int keys = 0;
        for (const MotionTrack& track : scene.Motions()[motion].tracks) keys += static_cast<int>(track.keys.size());
        json.Key("keys").Int(keys);
    }
    if (interpolated) json.Key("interpolatedKeys").Int(interpolatedKeys);
    json.Key("out").String(outPath).EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("apply", kUsage, Apply);

}  // namespace

}  // namespace m3d
