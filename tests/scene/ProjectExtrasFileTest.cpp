#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/MotionCommands.h"
#include "scene/ProjectExtrasFile.h"
#include "scene/ProjectFile.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>

using namespace m3d;

namespace {

// body(0) > arm(1); "walk" with keys at 0, 10 and 20 of the arm.
struct TimedModel {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;

    TimedModel()
    {
        AddCubeUnder(scene, folder, -1, "body.mqo");
        AddCubeUnder(scene, folder, 0, "arm.mqo");
        NewMotionCommand(session, "walk");
        SetKeyMatrix(scene, 0, 1, 10, MatrixRotationZ(0.5f) * MatrixTranslation(0, 2, 0));
        SetKeyMatrix(scene, 0, 1, 20, MatrixTranslation(1, 2, 3));
    }
    std::string Project() const { return folder.File("model.anm"); }
    // Saves again over the .mesh files of an earlier save.
    bool SaveAgain()
    {
        prompt.meshAnswers.push_back(MeshOverwriteAnswer::YesToAll);
        return SaveProject(scene, Project(), prompt).outcome.Ok();
    }
    std::vector<KeyFrame>& ArmKeys() { return scene.MutableMotions()[0].tracks[1].keys; }
};

std::vector<KeyInterpolation> InterpolationsOf(const std::vector<KeyFrame>& keys)
{
    std::vector<KeyInterpolation> out;
    for (const KeyFrame& key : keys) out.push_back(key.interpolation);
    return out;
}

}  // namespace

TEST(ProjectExtrasFile, InterpolationsGoBesideTheUnchangedProjectFileAndComeBack)
{
    TimedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.Project(), model.prompt));
    const std::string linearBytes = model.folder.Read("model.anm");
    EXPECT_FALSE(model.folder.Exists("model.m3d.json"));

    model.ArmKeys()[0].interpolation = KeyInterpolation::Smooth();
    model.ArmKeys()[1].interpolation = KeyInterpolation::Ease(0.25f, -0.5f, 0.75f, 1.5f);
    // A free key keeps its handles, every number to the last bit.
    ASSERT_TRUE(SetKeyInterpolation(model.scene, 0, 1, 20, KeyInterpolation::Bezier(TangentMode::Free)));
    model.ArmKeys()[2].handles.outValues[5] = 1.0f / 3.0f;
    ASSERT_NE(model.ArmKeys()[2].handles.inFrames[0], 0.0f);
    ASSERT_TRUE(model.SaveAgain());
    EXPECT_EQ(model.folder.Read("model.anm"), linearBytes);
    ASSERT_TRUE(model.folder.Exists("model.m3d.json"));

    EditorSession reopened;
    const ProjectLoad load = OpenProject(reopened, model.Project(), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete);
    EXPECT_TRUE(load.outcome.Ok()) << load.outcome.Message();
    EXPECT_EQ(InterpolationsOf(reopened.GetScene().Motions()[0].tracks[1].keys), InterpolationsOf(model.ArmKeys()));
    EXPECT_TRUE(reopened.GetScene().Motions()[0].tracks[1].SameKeys(model.scene.Motions()[0].tracks[1]));

    // Back to linear: the project file as before and no side file left.
    model.ArmKeys()[0].interpolation = KeyInterpolation::Linear();
    model.ArmKeys()[1].interpolation = KeyInterpolation::Linear();
    ASSERT_TRUE(SetKeyInterpolation(model.scene, 0, 1, 20, KeyInterpolation::Linear()));
    ASSERT_TRUE(model.SaveAgain());
    EXPECT_EQ(model.folder.Read("model.anm"), linearBytes);
    EXPECT_FALSE(model.folder.Exists("model.m3d.json"));
}

TEST(ProjectExtrasFile, JointLimitsUnitAndLoopsGoBesideTheUnchangedProjectFileAndComeBack)
{
    TimedModel model;
    ASSERT_TRUE(SaveProject(model.scene, model.Project(), model.prompt));
    const std::string freeBytes = model.folder.Read("model.anm");

    const JointLimit arm{JointAxis::X, -12.5f, 0.1f}, body{JointAxis::Z, -180.0f, 180.0f};
    model.scene.PartAt(1)->jointLimit = arm;
    model.scene.PartAt(0)->jointLimit = body;
    model.scene.metresPerUnit = 0.01;
    model.scene.MutableMotions()[0].loop = true;
    ASSERT_TRUE(model.SaveAgain());
    EXPECT_EQ(model.folder.Read("model.anm"), freeBytes);
    ASSERT_TRUE(model.folder.Exists("model.m3d.json"));

    EditorSession reopened;
    const ProjectLoad load = OpenProject(reopened, model.Project(), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete);
    EXPECT_TRUE(load.outcome.Ok()) << load.outcome.Message();
    EXPECT_EQ(reopened.GetScene().PartAt(0)->jointLimit, body);
    EXPECT_EQ(reopened.GetScene().PartAt(1)->jointLimit, arm);
    EXPECT_EQ(reopened.GetScene().metresPerUnit, 0.01);
    EXPECT_TRUE(reopened.GetScene().Motions()[0].loop);
    for (const KeyFrame& key : reopened.GetScene().Motions()[0].tracks[1].keys)
        EXPECT_TRUE(key.interpolation.IsLinear()) << key.frame;

    // Free again and of no known unit: no side file left.
    model.scene.PartAt(0)->jointLimit = {};
    model.scene.PartAt(1)->jointLimit = {};
    model.scene.metresPerUnit = kUnknownLengthUnit;
    model.scene.MutableMotions()[0].loop = false;
    ASSERT_TRUE(model.SaveAgain());
    EXPECT_EQ(model.folder.Read("model.anm"), freeBytes);
    EXPECT_FALSE(model.folder.Exists("model.m3d.json"));
}

TEST(ProjectExtrasFile, ASideFileOfAnotherStateOfTheProjectChangesNoKey)
{
    TimedModel model;
    model.ArmKeys()[1].interpolation = KeyInterpolation::Step();
    ASSERT_TRUE(SaveProject(model.scene, model.Project(), model.prompt));
    const std::string sideFile = model.folder.Read("model.m3d.json");
    // Another program (or an earlier version of this one) saves the project
    // again with another key; the side file stays behind.
    SetKeyMatrix(model.scene, 0, 1, 10, MatrixTranslation(5, 5, 5));
    model.ArmKeys()[1].interpolation = KeyInterpolation::Linear();
    ASSERT_TRUE(model.SaveAgain());
    model.folder.Write("model.m3d.json", sideFile);

    EditorSession reopened;
    const ProjectLoad load = OpenProject(reopened, model.Project(), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete);
    // Said, but no failure of the load: the model is all there.
    EXPECT_TRUE(load.outcome.Ok()) << load.outcome.Message();
    EXPECT_NE(load.extras.Message().find("model.m3d.json: it was written for another state of the project file"),
              std::string::npos)
        << load.extras.Message();
    for (const KeyFrame& key : reopened.GetScene().Motions()[0].tracks[1].keys)
        EXPECT_TRUE(key.interpolation.IsLinear()) << key.frame;
    EXPECT_EQ(reopened.GetScene().Motions()[0].tracks[1].keys[1].matrix, MatrixTranslation(5, 5, 5));
}

TEST(ProjectExtrasFile, EntriesThatNameWhatTheProjectLacksAreRefusedAlone)
{
    TimedModel model;
    const std::vector<Motion> linear = model.scene.Motions();
    model.ArmKeys()[1].interpolation = KeyInterpolation::Smooth();
    model.ArmKeys()[2].interpolation = KeyInterpolation::Step();
    std::vector<ProjectPartRecord> parts = ProjectPartRecordsOf(model.scene);
    const std::string projectBytes = "the project file's bytes";
    const std::string text = BuildProjectExtras(parts, model.scene.Motions(), kUnknownLengthUnit, projectBytes);
    ASSERT_FALSE(text.empty());

    // The project read back has no key at 20 and its Part 1 has another name.
    const auto applied = [&](std::vector<ProjectPartRecord> records, std::vector<Motion> motions) {
        ProjectData data{std::move(records), std::move(motions)};
        const Outcome outcome = ApplyProjectExtras(text, "x.m3d.json", projectBytes, data);
        return std::make_pair(outcome, data.motions);
    };
    std::vector<Motion> withoutKey = linear;
    withoutKey[0].tracks[1].keys.pop_back();
    auto [missingKey, keysApplied] = applied(parts, withoutKey);
    EXPECT_EQ(missingKey.Message(), "x.m3d.json: frame 20 of arm in \"walk\" has no key");
    EXPECT_EQ(keysApplied[0].tracks[1].keys[1].interpolation, KeyInterpolation::Smooth());
    EXPECT_EQ(keysApplied[0].tracks[1].keys[1].matrix, model.ArmKeys()[1].matrix);

    std::vector<ProjectPartRecord> renamed = parts;
    renamed[1].baseName = "leg";
    auto [otherPart, untouched] = applied(renamed, linear);
    EXPECT_EQ(otherPart.Message(),
              "x.m3d.json: Part 1 \"arm\" is not in the project; its keys in \"walk\" stay linear");
    EXPECT_TRUE(untouched[0].tracks[1].keys[1].interpolation.IsLinear());

    // An aligned key whose handles break the rules stays linear, named.
    ASSERT_TRUE(SetKeyInterpolation(model.scene, 0, 1, 10, KeyInterpolation::Bezier(TangentMode::Aligned)));
    nlohmann::json withHandles =
        nlohmann::json::parse(BuildProjectExtras(parts, model.scene.Motions(), kUnknownLengthUnit, projectBytes));
    withHandles["interpolations"][0]["keys"][0]["handles"]["in"][2][0] = 4.0;  // an in handle after its key
    ProjectData badHandles{parts, linear};
    EXPECT_EQ(ApplyProjectExtras(withHandles.dump(), "x.m3d.json", projectBytes, badHandles).Message(),
              "x.m3d.json: frame 10 of arm in \"walk\" has no usable handles; it stays linear");
    EXPECT_TRUE(badHandles.motions[0].tracks[1].keys[1].interpolation.IsLinear());
    EXPECT_EQ(badHandles.motions[0].tracks[1].keys[2].interpolation, KeyInterpolation::Step());

    std::vector<Motion> otherMotion = linear;
    otherMotion[0].name = "run";
    EXPECT_EQ(applied(parts, otherMotion).first.Message(),
              "x.m3d.json: Motion \"walk\" is not in the project; its interpolations were not applied");

    // Texts that are no side file of ours change nothing.
    for (const std::string& bad :
         {std::string("{"), std::string("[1]"), std::string("{\"format\": 3}"), text.substr(0, text.size() / 2)}) {
        ProjectData data{parts, linear};
        const Outcome refused = ApplyProjectExtras(bad, "x.m3d.json", projectBytes, data);
        EXPECT_FALSE(refused.Ok()) << bad;
        for (const KeyFrame& key : data.motions[0].tracks[1].keys) EXPECT_TRUE(key.interpolation.IsLinear());
    }
}

TEST(ProjectExtrasFile, JointLimitsUnitsAndLoopsThatBreakTheRulesAreRefusedAlone)
{
    TimedModel model;
    model.scene.PartAt(1)->jointLimit = {JointAxis::Y, -10.0f, 20.0f};
    const std::vector<ProjectPartRecord> parts = ProjectPartRecordsOf(model.scene);
    const std::string projectBytes = "the project file's bytes";
    nlohmann::json file =
        nlohmann::json::parse(BuildProjectExtras(parts, model.scene.Motions(), kUnknownLengthUnit, projectBytes));
    const nlohmann::json kept = file["jointLimits"][0];
    file["jointLimits"] = {{{"part", 0}, {"partName", "body"}, {"axis", "x"}, {"min", 30}, {"max", -30}},
                           {{"part", 0}, {"partName", "body"}, {"axis", "w"}, {"min", 0}, {"max", 1}},
                           {{"part", 0}, {"partName", "body"}, {"axis", "z"}, {"min", -200}, {"max", 0}},
                           {{"part", "0"}, {"axis", "x"}},
                           {{"part", 7}, {"partName", "body"}, {"axis", "x"}, {"min", 0}, {"max", 1}},
                           kept};
    file["lengthUnit"] = {{"metres", -1}};
    file["loops"] = {"run", "walk"};
    ProjectData data{ProjectPartRecordsOf(model.scene), model.scene.Motions()};
    std::vector<ProjectPartRecord>& records = data.parts;
    records[1].jointLimit = {};
    const Outcome outcome = ApplyProjectExtras(file.dump(), "x.m3d.json", projectBytes, data);
    const std::string message = outcome.Message();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 6) << message;
    EXPECT_NE(message.find("x.m3d.json: \"run\" in \"loops\" names no Motion"), std::string::npos);
    EXPECT_TRUE(data.motions[0].loop);
    EXPECT_NE(message.find("x.m3d.json: \"lengthUnit\" gives no length in metres"), std::string::npos);
    EXPECT_EQ(data.metresPerUnit, kUnknownLengthUnit);
    EXPECT_NE(message.find("x.m3d.json: the joint limit of body is not free nor an axis"), std::string::npos);
    EXPECT_NE(message.find("x.m3d.json: Part 7 \"body\" is not in the project"), std::string::npos);
    EXPECT_TRUE(records[0].jointLimit.IsFree());
    EXPECT_EQ(records[1].jointLimit, (JointLimit{JointAxis::Y, -10.0f, 20.0f}));
}
