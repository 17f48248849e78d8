#include "anim/PoseEvaluation.h"
#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/PoseJson.h"
#include "cli/ProjectLoading.h"
#include "editor/EditorSession.h"
#include "ik/IkKeys.h"
#include "ik/IkRequest.h"
#include "scene/Scene.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "ik PROJECT.anm --motion NAME --frame F (--end PART --root PART --target X Y Z [--pole X Y Z] |\n"
    "    --move PART X Y Z) [--pin PART]... [--mirror-partners] [--out OUT.anm]\n"
    "    poses the Motion at F, then turns the Parts from PART --root down to the parent of PART --end\n"
    "    so that --end's pivot reaches X Y Z (world coordinates; two turning Parts bend toward --pole\n"
    "    when given), or moves PART --move's pivot to X Y Z; each --pin PART keeps its pivot where it\n"
    "    was; --mirror-partners does the same mirrored in X for the partners; PART is a display name.\n"
    "    Prints the pose as pose does and every goal's reached point; --out writes a project in which\n"
    "    each Part that moved has a key at F";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

// The three numbers after args[i] into point, i left on the last; false,
// with a line on stderr naming option, when one is not a finite number.
bool ParsePoint(const std::vector<std::string>& args, const std::string& option, size_t& i, Vec3& point)
{
    for (float* value : {&point.x, &point.y, &point.z}) {
        const std::string& text = args[++i];
        if (!ParseFloat(text, *value) || !std::isfinite(*value)) {
            std::fprintf(stderr, "%s: \"%s\" is not a number; give X Y Z\n", option.c_str(), text.c_str());
            return false;
        }
    }
    return true;
}

const char* GoalKindName(IkGoalKind kind)
{
    switch (kind) {
    case IkGoalKind::Target: return "target";
    case IkGoalKind::PartnerTarget: return "partner-target";
    case IkGoalKind::Move: return "move";
    case IkGoalKind::PartnerMove: return "partner-move";
    case IkGoalKind::Pin: return "pin";
    }
    return "";
}

void WritePoint(JsonWriter& json, const char* key, Vec3 point)
{
    const float values[3] = {point.x, point.y, point.z};
    json.Key(key).Floats(values, 3);
}

int Ik(const std::vector<std::string>& args)
{
    std::string path, motionName, outPath, endName, rootName, moveName;
    bool haveMotion = false, mirror = false;
    int frame = -1;
    std::optional<Vec3> target, pole, movePoint;
    std::vector<std::string> pinNames;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--motion" && hasValue) {
            motionName = args[++i];
            haveMotion = true;
        } else if (arg == "--frame" && hasValue) {
            if (!ParseInteger(args[++i], frame) || frame < 0) {
                std::fprintf(stderr, "--frame: \"%s\" is not a frame; give a whole number 0 or more\n",
                             args[i].c_str());
                return 1;
            }
        } else if (arg == "--end" && hasValue && endName.empty()) {
            endName = args[++i];
        } else if (arg == "--root" && hasValue && rootName.empty()) {
            rootName = args[++i];
        } else if ((arg == "--target" || arg == "--pole") && i + 3 < args.size()) {
            std::optional<Vec3>& point = arg == "--target" ? target : pole;
            if (point) return Usage();
            point.emplace();
            if (!ParsePoint(args, arg, i, *point)) return 1;
        } else if (arg == "--move" && i + 4 < args.size() && !movePoint) {
            moveName = args[++i];
            movePoint.emplace();
            if (!ParsePoint(args, arg, i, *movePoint)) return 1;
        } else if (arg == "--pin" && hasValue) {
            pinNames.push_back(args[++i]);
        } else if (arg == "--mirror-partners") {
            mirror = true;
        } else if (arg == "--out" && hasValue) {
            outPath = args[++i];
        } else if (path.empty() && arg.rfind("--", 0) != 0) {
            path = arg;
        } else {
            return Usage();
        }
    }
    const bool chain = !endName.empty() || !rootName.empty() || target || pole;
    if (path.empty() || !haveMotion || frame < 0 || chain == movePoint.has_value()) return Usage();
    if (chain && (endName.empty() || rootName.empty() || !target)) return Usage();

    EditorSession session;
    Scene& scene = session.GetScene();
    if (!LoadProjectForCommand(session, path, outPath.empty() ? ProjectOpening::Reading : ProjectOpening::Editing))
        return 1;
    const int motion = FindMotionForCommand(scene, path, motionName);
    if (motion < 0) return 1;
    const IkRig rig = RigOf(scene);
    IkRequest request;
    request.mirrorPartners = mirror;
    if (chain) {
        ChainGoal goal{FindPartForCommand(scene, path, endName), -1, *target, pole};
        if (goal.end < 0 || (goal.root = FindPartForCommand(scene, path, rootName)) < 0) return 1;
        if (ChainParts(rig, goal.end, goal.root).empty()) {
            std::fprintf(stderr, "%s: --root \"%s\" is not above --end \"%s\" in the Part tree\n", path.c_str(),
                         rootName.c_str(), endName.c_str());
            return 1;
        }
        request.chain = goal;
    } else {
        const int part = FindPartForCommand(scene, path, moveName);
        if (part < 0) return 1;
        request.move = PivotMove{part, *movePoint};
    }
    for (const std::string& name : pinNames) {
        const int pin = FindPartForCommand(scene, path, name);
        if (pin < 0) return 1;
        request.pins.push_back(pin);
    }
    if (!outPath.empty() && frame > scene.MotionAt(motion).length) {
        std::fprintf(stderr, "%s: --frame %d is past the last frame (%d) of Motion \"%s\"; nothing was written\n",
                     path.c_str(), frame, scene.MotionAt(motion).length, motionName.c_str());
        return 1;
    }

    EvaluatePose(scene, motion, frame);
    const LocalPose before = LocalPoseOf(scene);
    LocalPose pose = before;
    const std::vector<IkReport> reports = SolveIk(rig, pose, request);
    ApplyLocalPose(scene, pose);
    std::vector<int> keyed;
    if (!outPath.empty()) {
        keyed = KeyChangedParts(*scene.EditMotion(motion), before, pose, frame);
        if (!SaveProjectForCommand(scene, outPath, false, false)) return 1;
    }

    JsonWriter json;
    json.BeginObject();
    WritePosePartsJson(json, scene);
    json.Key("goals").BeginArray();
    for (const IkReport& report : reports) {
        json.BeginObject();
        json.Key("kind").String(GoalKindName(report.kind));
        json.Key("part").String(scene.Parts()[report.result.part]->displayName);
        WritePoint(json, "target", report.result.target);
        WritePoint(json, "reached", report.result.reached);
        json.Key("distance").Float(report.result.distance);
        json.EndObject();
    }
    json.EndArray();
    if (!outPath.empty()) {
        json.Key("keyed").BeginArray();
        for (const int part : keyed) json.String(scene.Parts()[part]->displayName);
        json.EndArray();
        json.Key("out").String(outPath);
    }
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("ik", kUsage, Ik);

}  // namespace

}  // namespace m3d
