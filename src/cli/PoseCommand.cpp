#include "anim/PoseEvaluation.h"
#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "scene/Scene.h"

#include <cstdio>

namespace {

constexpr const char* USAGE = "pose PROJECT.anm --motion NAME --frame F";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", USAGE);
    return 2;
}

int Pose(const std::vector<std::string>& args)
{
    std::string path;
    std::string motionName;
    bool haveMotion = false;
    int frame = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--motion" && i + 1 < args.size()) {
            motionName = args[++i];
            haveMotion = true;
        } else if (args[i] == "--frame" && i + 1 < args.size()) {
            if (!ParseInteger(args[++i], frame) || frame < 0) return Usage();
        } else if (path.empty() && args[i].rfind("--", 0) != 0) {
            path = args[i];
        } else {
            return Usage();
        }
    }
    if (path.empty() || !haveMotion || frame < 0) return Usage();

    Scene scene;
    if (!LoadProjectForCommand(scene, path)) return 1;
    int motion = -1;
    for (size_t m = 0; m < scene.motions.size(); ++m)
        if (scene.motions[m].name == motionName) motion = static_cast<int>(m);
    if (motion < 0) {
        std::fprintf(stderr, "%s: no Motion named \"%s\"\n", path.c_str(), motionName.c_str());
        return 1;
    }
    EvaluatePose(scene, motion, frame);

    JsonWriter json;
    json.BeginObject().Key("parts").BeginArray();
    for (int i = 0; i < scene.PartCount(); ++i) {
        const Part& part = *scene.parts[i];
        float local[16];
        float world[16];
        part.localMatrix.ToArray(local);
        scene.WorldMatrixOf(i).ToArray(world);
        const float position[3] = {part.localPosition.x, part.localPosition.y, part.localPosition.z};
        json.BeginObject();
        json.Key("index").Int(i);
        json.Key("displayName").String(part.displayName);
        json.Key("localMatrix").Floats(local, 16);
        json.Key("localPosition").Floats(position, 3);
        json.Key("world").Floats(world, 16);
        json.EndObject();
    }
    json.EndArray().EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("pose", USAGE, Pose);

}  // namespace
