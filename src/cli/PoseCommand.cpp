#include "anim/PoseEvaluation.h"
#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/PoseJson.h"
#include "cli/ProjectLoading.h"
#include "editor/EditorSession.h"
#include "editor/PoseCommands.h"

#include <cstdio>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "pose PROJECT.anm --motion NAME --frame F [--mirror-pose | --drop-to-ground | --level INDEX]...";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

int Pose(const std::vector<std::string>& args)
{
    std::string path;
    std::string motionName;
    bool haveMotion = false;
    int frame = -1;
    // Pose operations in the order given; -1 for the two without a Part.
    std::vector<std::pair<std::string, int>> operations;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--motion" && i + 1 < args.size()) {
            motionName = args[++i];
            haveMotion = true;
        } else if (args[i] == "--frame" && i + 1 < args.size()) {
            if (!ParseInteger(args[++i], frame) || frame < 0) return Usage();
        } else if (args[i] == "--mirror-pose" || args[i] == "--drop-to-ground") {
            operations.emplace_back(args[i], -1);
        } else if (args[i] == "--level" && i + 1 < args.size()) {
            int part = -1;
            if (!ParseInteger(args[++i], part) || part < 0) return Usage();
            operations.emplace_back("--level", part);
        } else if (path.empty() && args[i].rfind("--", 0) != 0) {
            path = args[i];
        } else {
            return Usage();
        }
    }
    if (path.empty() || !haveMotion || frame < 0) return Usage();

    EditorSession session;
    Scene& scene = session.GetScene();
    if (!LoadProjectForCommand(session, path, ProjectOpening::Reading)) return 1;
    const int motion = FindMotionForCommand(scene, path, motionName);
    if (motion < 0) return 1;
    EvaluatePose(scene, motion, frame);
    for (const auto& [operation, part] : operations) {
        if (operation == "--mirror-pose") MirrorPoseCommand(session);
        if (operation == "--drop-to-ground") DropToGroundCommand(session);
        if (operation != "--level") continue;
        if (part >= scene.PartCount()) {
            std::fprintf(stderr, "%s: --level %d: the project has %d Parts\n", path.c_str(), part, scene.PartCount());
            return 1;
        }
        session.SelectPart(part);
        LevelCurrentPart(session);
    }

    JsonWriter json;
    json.BeginObject();
    WritePosePartsJson(json, scene);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("pose", kUsage, Pose);

}  // namespace

}  // namespace m3d
