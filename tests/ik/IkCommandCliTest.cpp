#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "scene/ProjectFile.h"
#include "support/CliFigure.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace m3d;

namespace {

// body(0) > upper(1) > lower(2) > hand(3), the elbow bent, and side(4) under
// the body; Motion "walk" moves the body up by one from frame 0 to 20.
struct ArmFigure : CliFigure {
    ArmFigure()
    {
        AddCubeUnder(scene, folder, -1, "body.mqo");
        AddCubeUnder(scene, folder, 0, "upper.mqo");
        AddCubeUnder(scene, folder, 1, "lower.mqo");
        AddCubeUnder(scene, folder, 2, "hand.mqo");
        AddCubeUnder(scene, folder, 0, "side.mqo");
        NewMotionCommand(session, "walk");
        const Vec3 positions[] = {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 2, 0}, {1, 0, 0}};
        for (int p = 0; p < 5; ++p)
            SetKeyMatrix(scene, 0, p, 0, KeyMatrixOf(p == 2 ? MatrixRotationX(-0.8f) : Matrix4(), positions[p]));
        SetKeyMatrix(scene, 0, 0, 20, MatrixTranslation(0, 1, 0));
        Save();
    }
    CliResult Ik(const std::string& arguments) const
    {
        return Run("ik " + Quote(path) + " --motion walk --frame 10 " + arguments);
    }
};

// The three numbers of values from first on.
Vec3 PointOf(const nlohmann::json& values, size_t first = 0)
{
    return {values[first].get<float>(), values[first + 1].get<float>(), values[first + 2].get<float>()};
}

}  // namespace

TEST(IkCommandCli, BringsTheChainToTheTargetAndKeysOnlyThePartsThatTurned)
{
    ArmFigure f;
    const std::string out = f.folder.File("out.anm");
    const CliResult r = f.Ik("--end hand --root upper --target 1 3.5 1 --out " + Quote(out));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json result = nlohmann::json::parse(r.out);
    ASSERT_EQ(result["parts"].size(), 5u);
    ASSERT_EQ(result["goals"].size(), 1u);
    const nlohmann::json& goal = result["goals"][0];
    EXPECT_EQ(goal["kind"], "target");
    EXPECT_EQ(goal["part"], "hand");
    EXPECT_LT(goal["distance"].get<float>(), 1e-3f);
    EXPECT_TRUE(VectorsNear(PointOf(goal["reached"]), {1, 3.5f, 1}, 1e-3f));
    // The pose printed is the solved one.
    EXPECT_TRUE(VectorsNear(PointOf(result["parts"][3]["world"], 12), {1, 3.5f, 1}, 1e-3f));
    EXPECT_EQ(result["keyed"], nlohmann::json({"upper", "lower"}));

    // The written project: keys at 10 for the two turned Parts, every other key as it was.
    EditorSession before, after;
    ASSERT_TRUE(LoadProject(before.GetScene(), f.path, ProjectOpening::Editing).complete);
    ASSERT_TRUE(LoadProject(after.GetScene(), out, ProjectOpening::Editing).complete);
    for (int p = 0; p < 5; ++p) {
        const MotionTrack& was = before.GetScene().Motions()[0].tracks[size_t(p)];
        const MotionTrack& now = after.GetScene().Motions()[0].tracks[size_t(p)];
        EXPECT_EQ(now.keys.size(), was.keys.size() + (p == 1 || p == 2 ? 1 : 0)) << p;
        for (const KeyFrame& key : was.keys) {
            const int k = now.FindKey(key.frame);
            ASSERT_GE(k, 0);
            EXPECT_EQ(now.keys[size_t(k)].matrix, key.matrix) << p << " " << key.frame;
        }
    }
    EvaluatePose(after.GetScene(), 0, 10);
    EXPECT_TRUE(VectorsNear(after.GetScene().WorldMatrixOf(3).Translation(), {1, 3.5f, 1}, 1e-3f));
}

TEST(IkCommandCli, TheElbowBendsTheWayItDidForATargetAcrossTheUpperArmFromTheHand)
{
    ArmFigure f;
    EditorSession before;
    ASSERT_TRUE(LoadProject(before.GetScene(), f.path, ProjectOpening::Editing).complete);
    EvaluatePose(before.GetScene(), 0, 10);
    const auto pivotBefore = [&](int p) { return before.GetScene().WorldMatrixOf(p).Translation(); };
    // The upper arm stands up the Y axis and the hand leans toward -Z: the target is toward +Z.
    const CliResult r = f.Ik("--end hand --root upper --target 1 3.5 1");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json parts = nlohmann::json::parse(r.out)["parts"];
    const auto pivot = [&](size_t p) { return PointOf(parts[p]["world"], 12); };
    EXPECT_TRUE(VectorsNear(pivot(3), {1, 3.5f, 1}, 1e-3f));
    const Vec3 normal = Cross(pivot(2) - pivot(1), pivot(3) - pivot(2));
    EXPECT_GT(Dot(normal, Cross(pivotBefore(2) - pivotBefore(1), pivotBefore(3) - pivotBefore(2))), 0.0f);
}

TEST(IkCommandCli, MovingAPartHoldsThePins)
{
    ArmFigure f;
    const CliResult r = f.Ik("--move body 0.2 1 0.3 --pin hand");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json goals = nlohmann::json::parse(r.out)["goals"];
    ASSERT_EQ(goals.size(), 2u);
    EXPECT_EQ(goals[0]["kind"], "move");
    EXPECT_TRUE(VectorsNear(PointOf(goals[0]["reached"]), {0.2f, 1, 0.3f}, 1e-5f));
    EXPECT_EQ(goals[1]["kind"], "pin");
    EXPECT_EQ(goals[1]["part"], "hand");
    EXPECT_LT(goals[1]["distance"].get<float>(), 1e-3f);
}

TEST(IkCommandCli, BadNamesChainsAndNumbersAreRefused)
{
    ArmFigure f;
    const auto expectFailure = [&](const std::string& arguments, const std::string& said, int code) {
        const CliResult r = f.Ik(arguments);
        EXPECT_EQ(r.exitCode, code) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    };
    expectFailure("--end hand --root shoulder --target 1 2 3", "figure.anm: no Part named \"shoulder\"", 1);
    expectFailure("--end upper --root hand --target 1 2 3", "--root \"hand\" is not above --end \"upper\"", 1);
    expectFailure("--end hand --root side --target 1 2 3", "--root \"side\" is not above --end \"hand\"", 1);
    expectFailure("--end hand --root upper --target 1 x 3", "--target: \"x\" is not a number", 1);
    expectFailure("--move body 1 2 nan", "--move: \"nan\" is not a number", 1);
    expectFailure("--move body 1 2 3 --pin elbow", "no Part named \"elbow\"", 1);
    expectFailure("--end hand --root upper --target 1 2 3 --move body 1 2 3", "usage", 2);
    expectFailure("--end hand --target 1 2 3", "usage", 2);
}
