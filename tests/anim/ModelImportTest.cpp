#include "anim/ModelImport.h"
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/ModelImportCommands.h"
#include "foreign/ForeignReaderProcess.h"
#include "foreign/ForeignRecords.h"
#include "foreign/ForeignSpace.h"
#include "scene/Scene.h"
#include "support/ForeignSamples.h"
#include "support/MatrixMatchers.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace m3d;

namespace {

ForeignModel EditorArm()
{
    ForeignModel model = ArmModel();
    ToEditorSpace(model, 1.0f);
    return model;
}

Vec3 WorldVertex(const Scene& scene, int part, int vertex)
{
    const _MESH_VERTEX* v = scene.PartAt(part)->mesh->GetVertex(vertex);
    return TransformCoord({v->x, v->y, v->z}, scene.WorldMatrixOf(part));
}

}  // namespace

// Worked by hand in the file's space: the shoulder stands at (1, 2, 3), turned
// 90° about Y (x goes to -z, z to x) and scaled by 2. Its vertex (1, 0, 0) is
// at (1, 2, 3) + (0, 0, -2) = (1, 2, 1); the hand's origin, (0, 1, 0) below the
// joint at (0, 0, 1), is at (1, 2, 3) + R(2 * (0, 1, 1)) = (3, 4, 3). The
// editor mirrors Z.
TEST(ModelImportTest, PartsKeepTheFilesPivotsWithTheRestScaleInTheirGeometry)
{
    Scene scene;
    const ModelImport import = ImportModel(scene, EditorArm(), "/models/arm.glb", 30);
    ASSERT_EQ(import.parts.size(), 2u);  // the joint folds into the hand
    const Part& shoulder = *scene.PartAt(import.parts[0]);
    const Part& hand = *scene.PartAt(import.parts[1]);
    EXPECT_EQ(shoulder.displayName, "shoulder");
    EXPECT_EQ(hand.parentIndex, import.parts[0]);
    EXPECT_TRUE(VectorsNear(scene.WorldMatrixOf(import.parts[0]).Translation(), {1, 2, -3}, 1e-5f));
    EXPECT_TRUE(VectorsNear(scene.WorldMatrixOf(import.parts[1]).Translation(), {3, 4, -3}, 1e-5f));
    EXPECT_TRUE(VectorsNear(WorldVertex(scene, import.parts[0], 1), {1, 2, -1}, 1e-5f));
    // The pivot turns without the scale: the Part's matrix is a rotation.
    const Matrix4 world = scene.WorldMatrixOf(import.parts[0]);
    EXPECT_NEAR(Length({world.m[0][0], world.m[0][1], world.m[0][2]}), 1.0f, 1e-6f);
}

TEST(ModelImportTest, AnimationsBecomeMotionsSampledByTheirRules)
{
    Scene scene;
    const ModelImport import = ImportModel(scene, EditorArm(), "/models/arm.glb", 30);
    ASSERT_EQ(import.motions.size(), 1u);
    const Motion& wave = scene.MotionAt(import.motions[0]);
    EXPECT_EQ(wave.name, "wave");
    EXPECT_EQ(wave.length, 30);
    // A steady turn needs no key between its ends.
    EXPECT_EQ(wave.tracks[0].keys.size(), 2u);
    // The hand steps at 0.5 s from (0, 1, 0) to (0, 2, 0) below the joint, 2 * (0, 0, 1) from the
    // shoulder's pivot in its (scaled) frame.
    EXPECT_TRUE(VectorsNear(PartPoseAt(scene, wave, 1, 14).localPosition, {0, 2, -2}, 1e-5f));
    EXPECT_TRUE(VectorsNear(PartPoseAt(scene, wave, 1, 15).localPosition, {0, 4, -2}, 1e-5f));
    // At 0.5 s the shoulder has turned 45° about the file's Z after its 90° about Y: its vertex
    // (0, 1, 0) goes to 2 * (0, 1, 0), unchanged by Y, then to (-sqrt 2, sqrt 2, 0) from (1, 2, 3).
    EvaluatePose(scene, import.motions[0], 15);
    EXPECT_TRUE(VectorsNear(WorldVertex(scene, 0, 2), {1 - float(M_SQRT2), 2 + float(M_SQRT2), -3}, 1e-4f));
}

TEST(ModelImportTest, AnImportIsOneUndoStepAndAFailedReadChangesNothing)
{
    TempFolder folder;
    // A second animation whose first frame is not the rest pose: the shoulder starts 3 higher.
    ForeignModel model = ArmModel();
    model.animations.push_back(
        {"rise", {{0, ForeignPath::Translation, ForeignInterpolation::Linear, {0, 1}, {1, 5, 3, 1, 6, 3}}}});
    folder.Write("records.bin", EncodeForeignModel(model));
    folder.Write("reader", "#!/bin/sh\ncase \"$2\" in *.glb) cat '" + folder.File("records.bin") +
                               "';; *) echo \"$2: broken\" >&2; exit 1;; esac\n");
    std::filesystem::permissions(folder.File("reader"), std::filesystem::perms::owner_all);
    const std::string previous = ForeignReaderProgram();
    SetForeignReaderProgram(folder.File("reader"));

    EditorSession session;
    Scene& scene = session.GetScene();
    folder.Write("body.mesh", CubeObjectFile());
    scene.AddPartFromFile(folder.File("body.mesh"));
    const int stepsBefore = session.History().StepCount();
    EXPECT_FALSE(ImportModelCommand(session, folder.File("arm.fbx"), {}));
    EXPECT_EQ(scene.PartCount(), 1);
    EXPECT_EQ(session.History().StepCount(), stepsBefore);

    const Expected<ModelImport> import = ImportModelCommand(session, folder.File("arm.glb"), {});
    ASSERT_TRUE(Succeeded(import));
    EXPECT_EQ(scene.PartCount(), 3);
    EXPECT_EQ(scene.MotionCount(), 2);
    EXPECT_EQ(scene.MotionAt(0).tracks.size(), 3u);
    // The last Motion is current and shown at its frame 0.
    EXPECT_EQ(session.CurrentMotion(), 1);
    EXPECT_EQ(scene.PartAt(1)->localPosition.y, 5.0f);
    session.History().Undo();
    EXPECT_EQ(scene.PartCount(), 1);
    EXPECT_EQ(scene.MotionCount(), 0);
    session.History().Redo();
    EXPECT_EQ(scene.PartCount(), 3);
    EXPECT_EQ(scene.MotionAt(0).tracks[0].keys.size(), 1u);  // the body holds its pose in the new Motion

    // Opened as a new document: declining the question keeps the work, accepting replaces it.
    ScriptedPrompt prompt;
    prompt.yesNo = {false, true};
    EXPECT_TRUE(OpenModelCommand(session, folder.File("arm.glb"), {}, prompt).Status().Cancelled());
    EXPECT_EQ(scene.PartCount(), 3);
    ASSERT_TRUE(Succeeded(OpenModelCommand(session, folder.File("arm.glb"), {}, prompt)));
    EXPECT_EQ(scene.PartCount(), 2);
    EXPECT_EQ(scene.PartAt(0)->displayName, "shoulder");
    SetForeignReaderProgram(previous);
}

// A glTF animation whose keys start at 1/24 s holds its first pose for 1.25
// frames at 30 fps unless its Motion starts at that key: then the shoulder
// turns from frame 0 on and the hand steps 0.5 s (15 frames) after it.
TEST(ModelImportTest, AMotionStartsAtItsAnimationsFirstKeyUnlessTheHoldIsKept)
{
    ForeignModel model = ArmModel();
    for (ForeignChannel& channel : model.animations[0].channels)
        for (float& time : channel.times) time += 1.0f / 24;
    ToEditorSpace(model, 1.0f);
    for (const bool fromFirstKey : {true, false}) {
        Scene scene;
        const ModelImport import = ImportModel(scene, model, "/models/arm.glb", 30, {{}, fromFirstKey});
        const Motion& wave = scene.MotionAt(import.motions[0]);
        EXPECT_EQ(wave.length, fromFirstKey ? 30 : 32);
        const bool held =
            MatricesNear(PartPoseAt(scene, wave, 0, 1).localMatrix, PartPoseAt(scene, wave, 0, 0).localMatrix, 1e-6f);
        EXPECT_EQ(held, !fromFirstKey);
        EXPECT_TRUE(
            VectorsNear(PartPoseAt(scene, wave, 1, 16).localPosition, {0, fromFirstKey ? 4.0f : 2.0f, -2}, 1e-5f));
    }
}

// Keys past what a Motion holds (9,999 frames), the Motion starting at time 0:
// 0 and 400 s is cut there and said so, 500 to 501 s starts after it and is
// left out (never a Motion of the rest pose alone), 0 and 1e30 s is cut too
// (not a Motion of length 1).
TEST(ModelImportTest, AnimationsLongerThanAMotionAreCutOrLeftOutWithANote)
{
    ForeignModel model = ArmModel();
    const auto turn = [&](const char* name, float from, float to) {
        model.animations.push_back(
            {name,
             {{0, ForeignPath::Translation, ForeignInterpolation::Linear, {from, to}, {1, 2, 3, 1, 2 + to / 100, 3}}}});
    };
    turn("long", 0, 400);
    turn("far", 500, 501);
    turn("endless", 0, 1e30f);
    ToEditorSpace(model, 1.0f);
    Scene scene;
    const ModelImport import = ImportModel(scene, model, "/models/arm.glb", 30, {{}, false});
    std::vector<std::string> names, notes;
    for (int m : import.motions) names.push_back(scene.MotionAt(m).name);
    EXPECT_EQ(names, (std::vector<std::string>{"wave", "long", "endless"}));
    for (const AnimationCut& cut : import.cuts) notes.push_back(AnimationCutNote(cut));
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "animation 'long' (0 ... 400 s) cut at 9,999 frames, 333 s at 30 fps; try --fps 24",
                         "animation 'far' (its keys start at 500 s, after the 9,999 frames, 333 s at 30 fps a "
                         "Motion holds; try --fps 19)",
                         "animation 'endless' (0 ... 1e+30 s) cut at 9,999 frames, 333 s at 30 fps"}));
    // Cut, the Motion keeps every frame it holds: at frame 9,999 (333.3 s) the shoulder has risen 3.333.
    for (int m : {1, 2}) EXPECT_EQ(scene.MotionAt(import.motions[size_t(m)]).length, 9999) << names[size_t(m)];
    EXPECT_NEAR(PartPoseAt(scene, scene.MotionAt(import.motions[1]), 0, 9999).localPosition.y, 2 + 3.333f, 1e-3f);
}

// A model of more nodes than a project holds Parts is refused before
// anything is built, by the records' reader as by the import, the limit named.
TEST(ModelImportTest, ModelsOfMoreNodesThanAProjectHoldsAreRefusedNamingTheLimit)
{
    ForeignModel model;
    model.nodes.resize(kMaxModelNodes + 1);
    ForeignModel back;
    const Outcome decoded = DecodeForeignModel(EncodeForeignModel(model), "big.glb", back);
    EXPECT_TRUE(FailedWith(decoded, "100,001 nodes; a project holds at most 100,000 Parts"));
    EXPECT_TRUE(back.nodes.empty());
    EXPECT_TRUE(FailedWith(CheckModelFits(model, 0, "big.glb"), "big.glb: the model has 100,001 nodes"));
    // Nodes that fold into others count only as the Parts they make.
    model.nodes.resize(kMaxModelNodes);
    for (size_t n = 1; n < model.nodes.size(); ++n) model.nodes[n].parent = int32_t(n - 1);
    model.nodes.back().mesh = 0;
    model.meshes = {TriangleMesh("tip")};
    EXPECT_TRUE(Succeeded(CheckModelFits(model, int(kMaxModelNodes) - 1, "chain.glb")));
    EXPECT_TRUE(
        FailedWith(CheckModelFits(model, int(kMaxModelNodes), "chain.glb"),
                   "chain.glb: with the model's 1 Parts the project would have 100,001; it holds at most 100,000"));
}
