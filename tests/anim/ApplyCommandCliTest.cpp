#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/CliFigure.h"
#include "support/CliRun.h"
#include "support/MatrixMatchers.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "view/RotationAngles.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

using namespace m3d;

namespace {

Matrix4 Key(float h, float p, float b, Vec3 position) { return KeyMatrixOf(RotationFromAngles({h, p, b}), position); }

// body(0) with armL(1) and armR(2) under it as partners; Motion "walk" with
// keys on the body and the left arm, and a second Motion "idle".
struct Figure : CliFigure {
    Figure()
    {
        AddBodyWithPartnerArms();
        scene.Parts()[1]->localPosition = {-3, 0, 0};
        NewMotionCommand(session, "idle");
        NewMotionCommand(session, "walk");
        SetKeyMatrix(scene, 1, 0, 0, Key(0, 0, 0, {1, 5, 3}));
        SetKeyMatrix(scene, 1, 0, 20, Key(30, 0, 0, {2, 4, 6}));
        SetKeyMatrix(scene, 1, 1, 0, Key(20, 30, 10, {-3, 0, 0}));
        SetKeyMatrix(scene, 1, 1, 10, Key(40, 30, 10, {-3, 1, 0}));
        SetKeyMatrix(scene, 1, 2, 0, Key(0, 0, 0, {3, 0, 0}));
        Save();
    }
    CliResult Apply(const std::string& operations, const std::string& out)
    {
        return Run("apply " + Quote(path) + " --motion walk " + operations + " --out " + Quote(out));
    }
};

struct Loaded {
    EditorSession session;
    Scene& scene = session.GetScene();
    explicit Loaded(const std::string& path)
    {
        const ProjectLoad load = LoadProject(scene, path, ProjectOpening::Editing);
        EXPECT_TRUE(load.complete) << load.outcome.Message();
    }
    const MotionTrack& Track(int motion, int part) { return scene.Motions()[motion].tracks[part]; }
    Matrix4 KeyAt(int motion, int part, int frame)
    {
        const MotionTrack& track = Track(motion, part);
        const int k = track.FindKey(frame);
        EXPECT_GE(k, 0) << "no key at " << frame;
        return k < 0 ? Matrix4() : track.keys[k].matrix;
    }
};

}  // namespace

TEST(ApplyCommandCli, TurnsTheNamedMotionAndLeavesTheSourceAndTheOtherMotionAlone)
{
    Figure f;
    const CliResult r = f.Apply("--turn-around", f.folder.File("turned.anm"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"motion\":\"walk\",\"operations\":[\"turn-around\"],\"keys\":5,\"out\":\"" +
                         f.folder.File("turned.anm") + "\"}\n");
    Loaded turned(f.folder.File("turned.anm"));
    EXPECT_TRUE(VectorsNear(turned.KeyAt(1, 0, 0).Translation(), {-1, 5, -3}, 1e-5f));
    EXPECT_TRUE(VectorsNear(turned.KeyAt(1, 0, 20).Translation(), {-2, 4, -6}, 1e-5f));
    EXPECT_TRUE(MatricesNear(turned.KeyAt(1, 1, 10), Key(40, 30, 10, {-3, 1, 0}), 0));
    Loaded source(f.path);
    EXPECT_TRUE(VectorsNear(source.KeyAt(1, 0, 0).Translation(), {1, 5, 3}, 0));
    EXPECT_TRUE(VectorsNear(turned.KeyAt(0, 0, 0).Translation(), source.KeyAt(0, 0, 0).Translation(), 0));
}

TEST(ApplyCommandCli, OperationsRunInTheOrderGiven)
{
    Figure f;
    // Levelling the left arm and then mirroring hands the levelled pose to the
    // right arm; mirroring first levels the left arm's new (mirrored) keys.
    ASSERT_EQ(f.Apply("--level-part 1 --mirror-motion", f.folder.File("a.anm")).exitCode, 0);
    ASSERT_EQ(f.Apply("--mirror-motion --level-part 1", f.folder.File("b.anm")).exitCode, 0);
    Loaded a(f.folder.File("a.anm")), b(f.folder.File("b.anm"));
    EXPECT_NEAR(AnglesFromMatrix(a.KeyAt(1, 2, 10)).p, 0.0f, 1e-3f);
    EXPECT_NEAR(AnglesFromMatrix(a.KeyAt(1, 1, 0)).p, 0.0f, 1e-3f);  // the right arm's key 0 was level
    EXPECT_NEAR(AnglesFromMatrix(b.KeyAt(1, 2, 10)).p, 30.0f, 1e-3f);
    EXPECT_NEAR(AnglesFromMatrix(b.KeyAt(1, 1, 0)).p, 0.0f, 1e-3f);
    // Mirroring moved the left arm's key at 10 to the right arm in both.
    EXPECT_EQ(a.Track(1, 2).FindKey(10), 1);
    EXPECT_EQ(a.Track(1, 1).FindKey(10), -1);
}

TEST(ApplyCommandCli, ScalingWritesScaledMeshesIntoAnotherFolder)
{
    Figure f;
    TempFolder other;
    const CliResult same = f.Apply("--scale 2", f.folder.File("scaled.anm"));
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_NE(same.err.find("another folder"), std::string::npos) << same.err;
    EXPECT_FALSE(f.folder.Exists("scaled.anm"));

    const CliResult r = f.Apply("--scale 2 --delete-redundant-keys", other.File("scaled.anm"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Loaded scaled(other.File("scaled.anm"));
    Loaded source(f.path);
    EXPECT_TRUE(VectorsNear(scaled.KeyAt(1, 0, 20).Translation(), {4, 8, 12}, 1e-5f));
    // Every Motion's keys are scaled, as the geometry is.
    EXPECT_TRUE(VectorsNear(scaled.KeyAt(0, 1, 0).Translation(), source.KeyAt(0, 1, 0).Translation() * 2.0f, 1e-5f));
    EXPECT_FLOAT_EQ(scaled.scene.Parts()[0]->mesh->GetVertex(0)->y,
                    2.0f * source.scene.Parts()[0]->mesh->GetVertex(0)->y);

    // Keys near the float limit: doubling them cannot be stored, so nothing is written.
    {
        Loaded big(f.path);
        SetKeyMatrix(big.scene, 1, 0, 30, KeyMatrixOf(Matrix4::Identity(), {3e38f, 0, 0}));
        ScriptedPrompt prompt;
        prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
        ASSERT_TRUE(Succeeded(SaveProject(big.scene, f.folder.File("big.anm"), prompt).outcome));
    }
    const CliResult overflow = f.Run("apply " + Quote(f.folder.File("big.anm")) + " --motion walk --scale 2 --out " +
                                     Quote(other.File("big2.anm")));
    EXPECT_EQ(overflow.exitCode, 1);
    EXPECT_NE(overflow.err.find("beyond the float range"), std::string::npos) << overflow.err;
    EXPECT_FALSE(other.Exists("big2.anm"));
}

TEST(ApplyCommandCli, PivotAndPartScaleNeedNoMotionAndKeepTheWorldPoseAtEveryFrame)
{
    Figure f;
    TempFolder other;
    const CliResult r = f.Run("apply " + Quote(f.path) + " --pivot armL 0 -1 0.5 --scale-part body 2 --out " +
                              Quote(other.File("moved.anm")));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Loaded moved(other.File("moved.anm"));
    Loaded source(f.path);
    // The left arm's vertices in the world, at every frame of "walk", as before.
    for (int frame = 0; frame <= source.scene.Motions()[1].length; ++frame) {
        const Matrix4 before = WorldPoseAt(source.scene, source.scene.Motions()[1], frame)[1];
        const Matrix4 after = WorldPoseAt(moved.scene, moved.scene.Motions()[1], frame)[1];
        for (int v = 0; v < source.scene.Parts()[1]->mesh->GetVertexNum(); ++v) {
            const _MESH_VERTEX& a = *source.scene.Parts()[1]->mesh->GetVertex(v);
            const _MESH_VERTEX& b = *moved.scene.Parts()[1]->mesh->GetVertex(v);
            ASSERT_TRUE(
                VectorsNear(TransformPoint({b.x, b.y, b.z}, after), TransformPoint({a.x, a.y, a.z}, before), 1e-4f))
                << frame << " " << v;
        }
    }
    EXPECT_FLOAT_EQ(moved.scene.Parts()[0]->mesh->GetVertex(0)->x,
                    2.0f * source.scene.Parts()[0]->mesh->GetVertex(0)->x);
    // They write .mesh files: not beside the source, and a Part must be named right.
    EXPECT_EQ(f.Run("apply " + Quote(f.path) + " --pivot armL 0 0 1 --out " + Quote(f.folder.File("x.anm"))).exitCode,
              1);
    const CliResult unknown =
        f.Run("apply " + Quote(f.path) + " --scale-part leg 2 --out " + Quote(other.File("y.anm")));
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("no Part named \"leg\""), std::string::npos) << unknown.err;
    EXPECT_EQ(f.Run("apply " + Quote(f.path) + " --pivot armL 0 nan 0 --out " + Quote(other.File("z.anm"))).exitCode,
              2);
    const CliResult far =
        f.Run("apply " + Quote(f.path) + " --pivot armL 1e30 0 0 --out " + Quote(other.File("z.anm")));
    EXPECT_EQ(far.exitCode, 1);
    EXPECT_NE(far.err.find("too far"), std::string::npos) << far.err;
    EXPECT_FALSE(other.Exists("z.anm"));
}

TEST(ApplyCommandCli, InterpolationGoesToTheChosenKeysAndInfoListsTheKeysThatAreNotLinear)
{
    Figure f;
    const std::string smooth = f.folder.File("smooth.anm");
    CliResult r = f.Apply("--tangents vector --part armL --frames 5-20 --loop on", smooth);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"interpolatedKeys\":1,"), std::string::npos) << r.out;
    {
        Loaded loaded(smooth);
        EXPECT_EQ(loaded.Track(1, 1).keys[1].interpolation, KeyInterpolation::Bezier(TangentMode::Vector));
        EXPECT_TRUE(loaded.Track(1, 1).keys[0].interpolation.IsLinear());
        EXPECT_TRUE(loaded.Track(1, 0).keys[1].interpolation.IsLinear());
    }
    // The loop switch goes into the side file too.
    const nlohmann::json info = nlohmann::json::parse(f.Run("info " + Quote(smooth)).out);
    EXPECT_EQ(info["motions"][1]["loop"], true);
    EXPECT_EQ(info["motions"][0]["loop"], false);
    EXPECT_EQ(info["motions"][1]["tracks"][1][1]["interpolation"], "bezier:vector");
    EXPECT_FALSE(info["motions"][1]["tracks"][1][0].contains("interpolation"));

    // Without --part and --frames: every key of the Motion, and of it only.
    const std::string eased = f.folder.File("eased.anm");
    r = f.Apply("--interpolation ease:0.1,0.2,0.3,1.5", eased);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Loaded loaded(eased);
    for (int part = 0; part < 3; ++part) {
        for (const KeyFrame& key : loaded.Track(1, part).keys)
            EXPECT_EQ(key.interpolation, KeyInterpolation::Ease(0.1f, 0.2f, 0.3f, 1.5f)) << part << " " << key.frame;
        EXPECT_TRUE(loaded.Track(0, part).keys[0].interpolation.IsLinear());
    }
}

TEST(ApplyCommandCli, RefusesMisuseAndReportsProblemsOfTheProject)
{
    Figure f;
    const std::string out = f.folder.File("out.anm");
    const std::string project = Quote(f.path);
    EXPECT_EQ(f.Run("apply " + project + " --motion walk --out " + Quote(out)).exitCode, 2);
    EXPECT_EQ(f.Run("apply " + project + " --motion walk --turn-around").exitCode, 2);
    EXPECT_EQ(f.Run("apply " + project + " --turn-around --out " + Quote(out)).exitCode, 2);
    EXPECT_EQ(f.Apply("--scale 0", out).exitCode, 2);
    EXPECT_EQ(f.Apply("--scale 10001", out).exitCode, 2);
    EXPECT_EQ(f.Apply("--scale x", out).exitCode, 2);
    EXPECT_EQ(f.Apply("--level-part -1", out).exitCode, 2);
    EXPECT_EQ(f.Apply("--sideways", out).exitCode, 2);
    const CliResult level = f.Apply("--level-part 3", out);
    EXPECT_EQ(level.exitCode, 1);
    EXPECT_NE(level.err.find("3 Parts"), std::string::npos) << level.err;
    const CliResult motion = f.Run("apply " + project + " --motion run --turn-around --out " + Quote(out));
    EXPECT_EQ(motion.exitCode, 1);
    EXPECT_NE(motion.err.find("no Motion named \"run\""), std::string::npos) << motion.err;
    // The interpolation's mode, Part and frames are named when wrong.
    for (const auto& [options, message] : std::vector<std::pair<std::string, std::string>>{
             {"--interpolation wobbly", "--interpolation wobbly: not an interpolation"},
             {"--tangents broken", "--tangents broken: give auto-clamped, auto, aligned, free or vector"},
             {"--interpolation ease:1.5,0,1,1", "--interpolation ease:1.5,0,1,1: not an interpolation"},
             {"--interpolation step --part leg", "no Part named \"leg\""},
             {"--interpolation step --frames 9-3", "--frames 9-3: give FIRST-LAST"},
             {"--interpolation step --frames 4", "--frames 4: give FIRST-LAST"}}) {
        const CliResult refused = f.Apply(options, out);
        EXPECT_EQ(refused.exitCode, 1) << options;
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
    }
    EXPECT_EQ(f.Apply("--turn-around --part armL", out).exitCode, 2);
    EXPECT_EQ(f.Run("apply " + Quote(f.folder.File("none.anm")) + " --motion walk --turn-around --out " + Quote(out))
                  .exitCode,
              1);
    EXPECT_FALSE(f.folder.Exists("out.anm"));
}
