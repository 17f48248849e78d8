// The exported samplers, evaluated here as glTF defines LINEAR, STEP and
// CUBICSPLINE (a reader of our own, not the editor's evaluation), give the
// editor's pose at every frame of every Motion.
#include "anim/ExportGltfFile.h"
#include "anim/GltfAxes.h"
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "support/GltfSampleScenes.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>

using namespace m3d;

namespace {

struct GltfFile {
    nlohmann::json json;
    std::string bin;

    // The floats of an accessor, tightly packed as the export writes them.
    std::vector<double> Floats(int accessor) const
    {
        const nlohmann::json& a = json["accessors"][accessor];
        const nlohmann::json& view = json["bufferViews"][a["bufferView"].get<int>()];
        static const std::map<std::string, size_t> kComponents = {{"SCALAR", 1}, {"VEC3", 3}, {"VEC4", 4}};
        const size_t count = a["count"].get<size_t>() * kComponents.at(a["type"]);
        const size_t offset = view.value("byteOffset", size_t{0}) + a.value("byteOffset", size_t{0});
        EXPECT_LE(offset + count * 4, bin.size());
        std::vector<float> values(offset + count * 4 <= bin.size() ? count : 0);
        if (!values.empty()) std::memcpy(values.data(), bin.data() + offset, count * 4);
        return {values.begin(), values.end()};
    }
};

// The value of sampler (of n components; a rotation when n is 4) at time t.
std::vector<double> Sample(const GltfFile& file, const nlohmann::json& sampler, double t, int n)
{
    const std::vector<double> in = file.Floats(sampler["input"]);
    const std::vector<double> out = file.Floats(sampler["output"]);
    const std::string interpolation = sampler["interpolation"];
    const bool spline = interpolation == "CUBICSPLINE";
    const size_t stride = spline ? 3 * n : n;
    const size_t valueAt = spline ? n : 0;  // a spline element: in-tangent, value, out-tangent
    EXPECT_EQ(out.size(), in.size() * stride);
    if (in.empty() || out.size() != in.size() * stride) return std::vector<double>(n);
    const auto value = [&](size_t k) { return &out[k * stride + valueAt]; };
    size_t k = 0;
    while (k + 1 < in.size() && in[k + 1] <= t) ++k;
    if (k + 1 == in.size() || t <= in[k] || interpolation == "STEP") return {value(k), value(k) + n};
    const double u = (t - in[k]) / (in[k + 1] - in[k]);
    std::vector<double> result(n);
    if (spline) {
        const double span = in[k + 1] - in[k];
        const double* outTangent = &out[k * stride + 2 * n];
        const double* inTangent = &out[(k + 1) * stride];
        for (int c = 0; c < n; ++c)
            result[c] = (2 * u * u * u - 3 * u * u + 1) * value(k)[c] +
                        span * (u * u * u - 2 * u * u + u) * outTangent[c] +
                        (-2 * u * u * u + 3 * u * u) * value(k + 1)[c] + span * (u * u * u - u * u) * inTangent[c];
    } else {
        // Positions blended, rotations slerped along the shorter arc.
        double dot = 0, wa = 1 - u, wb = u;
        for (int c = 0; c < n; ++c) dot += value(k)[c] * value(k + 1)[c];
        if (const double angle = std::acos(std::min(1.0, std::fabs(dot))); n == 4 && angle > 1e-6) {
            wa = std::sin(angle * (1 - u)) / std::sin(angle);
            wb = std::sin(angle * u) / std::sin(angle);
        }
        if (n == 4 && dot < 0) wb = -wb;
        for (int c = 0; c < n; ++c) result[c] = wa * value(k)[c] + wb * value(k + 1)[c];
    }
    if (n == 4) {
        const double length =
            std::sqrt(result[0] * result[0] + result[1] * result[1] + result[2] * result[2] + result[3] * result[3]);
        for (double& c : result) c /= length;
    }
    return result;
}

// Every channel of every animation of file has the interpolation formOf
// gives it (Motion, Part, path) and gives the editor's pose at every frame
// within 1e-5; the Motion's length stays the animation's duration.
void ExpectSamplersGiveTheEditorsPoses(const GltfFile& file, const Scene& scene, int fps,
                                       const std::function<std::string(int, int, const std::string&)>& formOf)
{
    std::map<std::string, int> partNamed;
    for (int p = 0; p < scene.PartCount(); ++p) partNamed[scene.Parts()[p]->displayName] = p;
    ASSERT_EQ(file.json["animations"].size(), scene.Motions().size());
    for (size_t m = 0; m < scene.Motions().size(); ++m) {
        const Motion& motion = scene.Motions()[m];
        const nlohmann::json& animation = file.json["animations"][m];
        ASSERT_EQ(animation["channels"].size(), size_t(2 * scene.PartCount()));
        for (const nlohmann::json& channel : animation["channels"]) {
            const nlohmann::json& sampler = animation["samplers"][channel["sampler"].get<int>()];
            const std::string path = channel["target"]["path"];
            const std::string name = file.json["nodes"][channel["target"]["node"].get<int>()]["name"];
            const int part = partNamed.at(name);
            const std::string where = motion.name + " " + name + " " + path;
            EXPECT_EQ(sampler["interpolation"], formOf(int(m), part, path)) << where;
            EXPECT_FLOAT_EQ(file.Floats(sampler["input"]).back(), static_cast<float>(double(motion.length) / fps))
                << where;
            const int n = path == "rotation" ? 4 : 3;
            for (int frame = 0; frame <= motion.length; ++frame) {
                const std::vector<double> got =
                    Sample(file, sampler, static_cast<float>(static_cast<double>(frame) / fps), n);
                const TrackPose pose = PartPoseAt(scene, motion, part, frame);
                const Vec3 t = GltfPoint(pose.localPosition);
                const Quaternion r = GltfRotation(pose.localMatrix);
                std::vector<double> expected =
                    n == 3 ? std::vector<double>{t.x, t.y, t.z} : std::vector<double>{r.x, r.y, r.z, r.w};
                double dot = 0;
                for (int c = 0; c < n; ++c) dot += got[c] * expected[c];
                for (int c = 0; c < n; ++c)
                    EXPECT_NEAR(got[c], n == 4 && dot < 0 ? -expected[c] : expected[c], 1e-5)
                        << where << " frame " << frame << " component " << c;
            }
        }
    }
}

}  // namespace

TEST(GltfInterpolation, EverySamplerGivesTheEditorsPoseAtEveryFrameAndKeepsItsForm)
{
    TempFolder models, out;
    EditorSession session;
    BuildInterpolationSample(session, models);
    constexpr int fps = 24;
    ScriptedPrompt prompt;
    const ExportGltfResult result = ExportGltfFile(session.GetScene(), out.File("a.gltf"), fps, prompt);
    ASSERT_TRUE(result.written) << result.message;
    const GltfFile file{nlohmann::json::parse(out.Read("a.gltf")), out.Read("a.bin")};
    // Per Motion, the interpolation of each Part's channels.
    const std::vector<std::vector<std::string>> forms = {
        {"CUBICSPLINE", "STEP", "LINEAR", "LINEAR", "LINEAR"},
        {"CUBICSPLINE", "LINEAR", "STEP", "LINEAR", "LINEAR"},
    };
    ExpectSamplersGiveTheEditorsPoses(file, session.GetScene(), fps, [&](int m, int part, const std::string&) {
        return forms[size_t(m)][size_t(part)];
    });
}

// Bezier keys: positions whose handles lie a third of the way in time are
// glTF's spline exactly (wrapping across a loop's seam too), their angle
// curves are taken at every frame, and so is a Part with a free key whose
// handles lie elsewhere; with the choice to bake, every channel is LINEAR at
// every frame.
TEST(GltfInterpolation, BezierPositionsStaySplinesWhereTheyAreHermiteAndEverythingElseIsBaked)
{
    TempFolder models, out;
    EditorSession session;
    Scene& scene = session.GetScene();
    const int hop = AddCubeUnder(scene, models, -1, "hop.mqo");
    const int arm = AddCubeUnder(scene, models, hop, "arm.mqo");
    const KeyInterpolation b = KeyInterpolation::AutoClamped(), a = KeyInterpolation::Bezier(TangentMode::Auto);
    NewMotion(scene, "hop");
    SetMotionLength(scene, 0, 40);
    SetSampleKeys(scene, 0, hop,
                  {{0, SampleKey(0, 0, {0, 0, 0}), b},
                   {10, SampleKey(0.5f, 0.1f, {1, 8, 0}), a},
                   {20, SampleKey(1.0f, 0.3f, {2, 25, -1}), b},
                   {30, SampleKey(0.2f, 0, {1, 3, 0}), KeyInterpolation::Linear()},
                   {40, SampleKey(0, 0, {0, 0, 0}), b}});
    SetSampleKeys(scene, 0, arm,
                  {{0, SampleKey(0, 0, {0, 2, 0}), b},
                   {15, SampleKey(1.2f, 0.2f, {1, 2, 0}), b},
                   {40, SampleKey(0, 0, {0, 2, 0}), b}});
    ASSERT_TRUE(SetKeyInterpolation(scene, 0, arm, 15, KeyInterpolation::Bezier(TangentMode::Free)));
    scene.MutableMotions()[0].tracks[size_t(arm)].keys[1].handles.outFrames[4] = 9.0f;
    scene.MutableMotions()[0].loop = true;
    constexpr int fps = 30;
    for (const bool bake : {false, true}) {
        ScriptedPrompt prompt;
        GltfChoices choices;
        choices.bakeEveryFrame = bake;
        const ExportGltfResult result = ExportGltfFile(scene, out.File("b.gltf"), fps, prompt, choices);
        ASSERT_TRUE(result.written);
        // The baked angles, and the arm's baked positions, stray between frames: said.
        EXPECT_GT(result.baked.degrees, 0.0);
        EXPECT_GT(result.baked.length, 0.0);
        const GltfFile file{nlohmann::json::parse(out.Read("b.gltf")), out.Read("b.bin")};
        ExpectSamplersGiveTheEditorsPoses(file, scene, fps, [&](int, int part, const std::string& path) {
            return !bake && part == hop && path == "translation" ? "CUBICSPLINE" : "LINEAR";
        });
    }
}
