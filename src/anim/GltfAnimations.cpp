#include "anim/GltfAssembly.h"

#include "anim/GltfAxes.h"
#include "anim/PoseEvaluation.h"
#include "anim/XFileContentBuilder.h"
#include "scene/Scene.h"

namespace m3d {

namespace {

// One sampler of output over the shared time accessor, and its channel.
void AddChannel(nlohmann::json& animation, int input, int output, int node, const char* path)
{
    animation["samplers"].push_back({{"input", input}, {"output", output}, {"interpolation", "LINEAR"}});
    animation["channels"].push_back(
        {{"sampler", animation["samplers"].size() - 1}, {"target", {{"node", node}, {"path", path}}}});
}

// Between two keys the editor blends positions linearly and rotations by the
// shorter-arc slerp; sampled at every key frame of the Motion, glTF's LINEAR
// interpolation (lerp and slerp between neighbouring samples) gives the same
// pose at every time in between.
nlohmann::json BuildAnimation(const Scene& scene, const Motion& motion, const std::vector<int>& nodeOfPart,
                              int framesPerSecond, GltfBuffer& buffer)
{
    const std::vector<int> frames = XFileKeyFrames(motion);
    std::vector<float> times;
    times.reserve(frames.size());
    for (int frame : frames) times.push_back(static_cast<float>(static_cast<double>(frame) / framesPerSecond));
    const int input = buffer.AddFloats(times, 1, GltfBuffer::kNoTarget, true);

    nlohmann::json animation = {
        {"name", motion.name}, {"samplers", nlohmann::json::array()}, {"channels", nlohmann::json::array()}};
    std::vector<float> translations(frames.size() * 3);
    std::vector<float> rotations(frames.size() * 4);
    for (int p = 0; p < scene.PartCount(); ++p) {
        if (nodeOfPart[p] < 0) continue;
        Quaternion previous;
        for (size_t k = 0; k < frames.size(); ++k) {
            const TrackPose pose = PartPoseAt(scene, motion, p, frames[k]);
            const Vec3 t = GltfPoint(pose.localPosition);
            const Quaternion r = NearestSign(GltfRotation(pose.localMatrix), previous);
            previous = r;
            translations[k * 3] = t.x;
            translations[k * 3 + 1] = t.y;
            translations[k * 3 + 2] = t.z;
            rotations[k * 4] = r.x;
            rotations[k * 4 + 1] = r.y;
            rotations[k * 4 + 2] = r.z;
            rotations[k * 4 + 3] = r.w;
        }
        AddChannel(animation, input, buffer.AddFloats(translations, 3, GltfBuffer::kNoTarget, false), nodeOfPart[p],
                   "translation");
        AddChannel(animation, input, buffer.AddFloats(rotations, 4, GltfBuffer::kNoTarget, false), nodeOfPart[p],
                   "rotation");
    }
    return animation;
}

}  // namespace

void AddGltfAnimations(const Scene& scene, const std::vector<int>& nodeOfPart, int framesPerSecond,
                       GltfAssembly& assembly)
{
    for (const Motion& motion : scene.Motions())
        AppendTo(assembly, "animations", BuildAnimation(scene, motion, nodeOfPart, framesPerSecond, assembly.buffer));
}

}  // namespace m3d
