#include "anim/MotionOperations.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/CliFigure.h"
#include "support/CliRun.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace m3d;

namespace {

// body(0) at y = 10 with armL(1) and armR(2) one unit above it as partners
// (cubes of half size 1: the lowest vertex is the body's, at y = 9); Motion "walk".
struct Figure : CliFigure {
    Figure()
    {
        AddBodyWithPartnerArms();
        NewMotionCommand(session, "walk");
        SetKeyMatrix(scene, 0, 0, 0, KeyMatrixOf(Matrix4::Identity(), {0, 10, 0}));
        SetKeyMatrix(scene, 0, 1, 0, KeyMatrixOf(RotationFromAngles({20, 30, 10}), {-3, 1, 0}));
        SetKeyMatrix(scene, 0, 2, 0, KeyMatrixOf(RotationFromAngles({-50, 0, 0}), {3, 1, 0}));
        Save();
    }
    CliResult Pose(const std::string& options)
    {
        return Run("pose " + Quote(path) + " --motion walk --frame 0 " + options);
    }
};

// The count numbers after "field":[ in the entry of Part index.
std::vector<float> Field(const std::string& json, int index, const std::string& field, int count)
{
    std::vector<float> values;
    const size_t part = json.find("{\"index\":" + std::to_string(index) + ",");
    const size_t start = part == std::string::npos ? part : json.find("\"" + field + "\":[", part);
    if (start == std::string::npos) return values;
    const char* p = json.c_str() + json.find('[', start) + 1;
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        values.push_back(std::strtof(p, &end));
        p = end + 1;
    }
    return values;
}

HeadingPitchBank LocalAngles(const std::string& json, int index)
{
    const std::vector<float> v = Field(json, index, "localMatrix", 16);
    return v.size() == 16 ? AnglesFromMatrix(Matrix4::FromArray(v.data())) : HeadingPitchBank{999, 999, 999};
}

}  // namespace

TEST(PoseCommandCli, MirrorDropAndLevelRunInTheOrderGivenAfterTheEvaluation)
{
    Figure f;
    const CliResult dropped = f.Pose("--drop-to-ground");
    ASSERT_EQ(dropped.exitCode, 0) << dropped.err;
    EXPECT_EQ(Field(dropped.out, 0, "localPosition", 3), (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(Field(dropped.out, 1, "localPosition", 3), (std::vector<float>{-3, 1, 0}));

    const CliResult mirrored = f.Pose("--mirror-pose");
    EXPECT_NEAR(LocalAngles(mirrored.out, 1).h, 50.0f, 1e-3f);
    EXPECT_NEAR(LocalAngles(mirrored.out, 2).h, -20.0f, 1e-3f);
    EXPECT_NEAR(LocalAngles(mirrored.out, 2).p, 30.0f, 1e-3f);
    EXPECT_NEAR(LocalAngles(mirrored.out, 2).b, -10.0f, 1e-3f);
    EXPECT_EQ(Field(mirrored.out, 1, "localPosition", 3), (std::vector<float>{-3, 1, 0}));

    // Levelling the left arm first gives the right arm a level mirror image;
    // levelling it after the mirror leaves the right arm as mirrored.
    const CliResult levelFirst = f.Pose("--level 1 --mirror-pose");
    const CliResult mirrorFirst = f.Pose("--mirror-pose --level 1");
    EXPECT_NEAR(LocalAngles(levelFirst.out, 2).p, 0.0f, 1e-3f);
    EXPECT_NEAR(LocalAngles(levelFirst.out, 2).h, -20.0f, 1e-3f);
    EXPECT_NEAR(LocalAngles(mirrorFirst.out, 2).p, 30.0f, 1e-3f);
    EXPECT_NEAR(LocalAngles(mirrorFirst.out, 1).p, 0.0f, 1e-3f);
}

TEST(PoseCommandCli, ALevelIndexOutsideThePartsIsReportedAndAMissingOneIsMisuse)
{
    Figure f;
    const CliResult r = f.Pose("--level 3");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("--level 3: the project has 3 Parts"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(f.Pose("--level").exitCode, 2);
    EXPECT_EQ(f.Pose("--level -2").exitCode, 2);
}
