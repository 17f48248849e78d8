#include "editor/PartCommands.h"

#include "anim/MotionOperations.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "view/RotationAngles.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace m3d;

namespace {

// One triangle entirely at x > 0, so its mirror image is entirely at x < 0,
// as the bytes of an object file (written by the mesh library).
std::string RightSidedTriangleFile()
{
    LoadedModel model;
    model.materials.resize(1);
    for (Vec3 p : {Vec3{1, 0, 0}, Vec3{1, 1, 0}, Vec3{2, 0, 0}}) model.vertices.push_back({p.x, p.y, p.z, 0, 0, -1});
    model.indices = {0, 1, 2};
    model.triangleMaterials = {0};
    TempFolder scratch;
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    if (!mesh.LoadModel(model, scratch.File("tri.mqo"), 1.0f) || !mesh.SaveMeshFile(scratch.File("tri.mesh")))
        return std::string();
    return scratch.Read("tri.mesh");
}

// Shoulders on both sides (partners) and an arm under the left one.
struct Shoulders {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    int shoulderL, shoulderR, armL;
    Shoulders()
    {
        shoulderL = AddCubeUnder(scene, folder, -1, "shoulderL.mqo");
        shoulderR = AddCubeUnder(scene, folder, -1, "shoulderR.mqo");
        SelectPart(scene, shoulderL);
        folder.Write("armL.mqo", RightSidedTriangleFile());
        scene.AddPartFromFile(folder.File("armL.mqo"));
        armL = scene.PartCount() - 1;
        scene.Parts()[shoulderL]->symmetryIndex = shoulderR;
        scene.Parts()[shoulderR]->symmetryIndex = shoulderL;
        scene.Parts()[shoulderL]->localPosition = {-4, 10, 0};
        scene.Parts()[shoulderR]->localPosition = {4, 10, 0};
        scene.Parts()[shoulderR]->localMatrix = RotationFromAngles({0, 0, 30});
        scene.Parts()[armL]->localMatrix = RotationFromAngles({20, 35, -15});
        scene.Parts()[armL]->localPosition = {-2, -1, 0.5f};
        scene.UpdateHierarchy(0);
        NewMotionCommand(session, "m");
        SelectPart(scene, armL);
    }
};

}  // namespace

// --- Adding a mirrored Part ---

TEST(AddMirroredPart, TheCopyHangsUnderTheParentsPartnerReflectedAndPairedBothWays)
{
    Shoulders s;
    EXPECT_EQ(MirroredPartDefaultName(s.session), "armL(2)");
    s.session.History().Clear();
    s.session.History().PushUndo("edit");
    ASSERT_EQ(AddMirroredPart(s.session, "armR").result, MirroredPartResult::Added);

    const int armR = s.scene.PartCount() - 1;
    ASSERT_EQ(armR, 3);
    const Part& copy = *s.scene.Parts()[armR];
    const Part& original = *s.scene.Parts()[s.armL];
    EXPECT_EQ(copy.baseName, "armR");
    EXPECT_EQ(copy.parentIndex, s.shoulderR);
    EXPECT_EQ(s.scene.Tree().GetParent(copy.treeItem), s.scene.Parts()[s.shoulderR]->treeItem);
    EXPECT_TRUE(VectorsNear(copy.localPosition, {2, -1, 0.5f}, 0));
    const Matrix4& m = original.localMatrix;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const bool negated = (r == 0 && (c == 1 || c == 2)) || (c == 0 && (r == 1 || r == 2));
            EXPECT_EQ(copy.localMatrix.m[r][c], negated ? -m.m[r][c] : m.m[r][c]) << r << "," << c;
        }
    EXPECT_EQ(copy.symmetryIndex, s.armL);
    EXPECT_EQ(original.symmetryIndex, armR);
    EXPECT_EQ(s.session.CurrentPart(), armR);

    // The mesh was written mirrored beside the object files and placed under the right shoulder.
    EXPECT_TRUE(s.folder.Exists("armR.mesh"));
    ASSERT_EQ(copy.mesh->GetVertexNum(), 3);
    for (int k = 0; k < 3; ++k) EXPECT_LT(copy.mesh->GetVertex(k)->x, 0.0f);
    const Matrix4 parentWorld = s.scene.Parts()[s.shoulderR]->mesh->GetMatrix();
    Matrix4 expectedWorld = copy.localMatrix * parentWorld;
    expectedWorld.SetTranslation(TransformPoint(copy.localPosition, parentWorld));
    EXPECT_TRUE(MatricesNear(copy.mesh->GetMatrix(), expectedWorld, 1e-5f));

    // Its key is the one made when it was added, before the mirrored pose.
    const MotionTrack& track = s.scene.Motions()[0].tracks[armR];
    ASSERT_EQ(track.keys.size(), 1u);
    EXPECT_EQ(track.keys[0].matrix, Matrix4::Identity());
    EXPECT_EQ(s.session.History().StepCount(), 1);
}

TEST(AddMirroredPart, ATopLevelPartGetsATopLevelCopyPlacedByItsLocalFields)
{
    Shoulders s;
    s.scene.Parts()[s.shoulderL]->symmetryIndex = -1;
    SelectPart(s.scene, s.shoulderL);
    s.scene.Parts()[s.shoulderL]->localMatrix = RotationFromAngles({10, 20, 30});
    ASSERT_EQ(AddMirroredPart(s.session, "hip").result, MirroredPartResult::Added);
    const Part& copy = *s.scene.Parts().back();
    EXPECT_EQ(copy.parentIndex, -1);
    EXPECT_EQ(s.scene.Tree().GetParent(copy.treeItem), s.scene.rootPart.treeItem);
    Matrix4 expected = copy.localMatrix;
    expected.SetTranslation({4, 10, 0});
    EXPECT_TRUE(MatricesNear(copy.mesh->GetMatrix(), expected, 0));
    // The right shoulder keeps its own link to the left one.
    EXPECT_EQ(s.scene.Parts()[s.shoulderR]->symmetryIndex, s.shoulderL);
    EXPECT_EQ(s.scene.Parts()[s.shoulderL]->symmetryIndex, s.scene.PartCount() - 1);
}

TEST(AddMirroredPart, TakenOrUnusableNamesAndAMissingSelectionChangeNothing)
{
    Shoulders s;
    EXPECT_EQ(AddMirroredPart(s.session, "armL").result, MirroredPartResult::NameTaken);
    EXPECT_EQ(AddMirroredPart(s.session, "shoulderR").result, MirroredPartResult::NameTaken);
    EXPECT_EQ(AddMirroredPart(s.session, "ShoulderR").result, MirroredPartResult::NameTaken);
    EXPECT_EQ(AddMirroredPart(s.session, "arm¥R").result, MirroredPartResult::NameFolded);
    for (const std::string name : {"", "sub/armR", "..\\armR", "/tmp/armR"})
        EXPECT_EQ(AddMirroredPart(s.session, name).result, MirroredPartResult::NameInvalid) << name;
    // A project file could not hold these.
    for (const std::string& name : std::vector<std::string>{"arm\tR", "arm\xF0\x9F\x98\x80", std::string(260, 'r')})
        EXPECT_EQ(AddMirroredPart(s.session, name).result, MirroredPartResult::NameNotSavable) << name;
    EXPECT_EQ(s.scene.PartCount(), 3);
    EXPECT_FALSE(s.folder.Exists("armL.mesh"));
    EXPECT_EQ(s.session.CurrentPart(), s.armL);
    SelectPart(s.scene, -1);
    EXPECT_EQ(MirroredPartDefaultName(s.session), "");
    EXPECT_EQ(AddMirroredPart(s.session, "other").result, MirroredPartResult::NothingSelected);
    EXPECT_EQ(s.scene.PartCount(), 3);
    EXPECT_EQ(std::string(kMirroredNameTakenText), "同じオブジェクト名が存在します");
    EXPECT_EQ(std::string(kMirroredNameTakenCaption), "caution");
}

TEST(AddMirroredPart, TheFileGoesToTheObjectFolderNotTheProjectFolder)
{
    Shoulders s;
    TempFolder objects;
    s.scene.projectPath = s.folder.File("project.anm");
    s.scene.addObjectDirectory = objects.path;
    ASSERT_EQ(AddMirroredPart(s.session, "armR.v2").result, MirroredPartResult::Added);
    // Named as the Part will be, cut at the first '.', so that it saves to its own file.
    EXPECT_TRUE(objects.Exists("armR.mesh"));
    EXPECT_FALSE(s.folder.Exists("armR.mesh"));
    EXPECT_EQ(s.scene.Parts().back()->baseName, "armR");
}

TEST(AddMirroredPart, NeverReplacesAFileOrNamesTwoPartsAlike)
{
    Shoulders s;
    s.scene.addObjectDirectory = s.folder.path;
    s.folder.Write("Spare.mesh", "someone's model");
    const int parts = s.scene.PartCount();
    const std::string source = s.scene.Parts()[s.session.CurrentPart()]->baseName;
    // Projects find their object files ignoring case, so "spare" would be
    // Spare.mesh; a dotted name is cut to the source Part's own name.
    EXPECT_EQ(AddMirroredPart(s.session, "spare").result, MirroredPartResult::FileExists);
    EXPECT_EQ(AddMirroredPart(s.session, source + ".v2").result, MirroredPartResult::NameTaken);
    EXPECT_EQ(s.folder.Read("Spare.mesh"), "someone's model");
    EXPECT_EQ(s.scene.PartCount(), parts);
}

// --- Swapping, deleting, adding ---

TEST(SwapCurrentObject, ReplacesTheGeometryAndTheNameAndKeepsEverythingElse)
{
    Shoulders s;
    SetKeyMatrix(s.scene, 0, s.armL, 12, RotationFromAngles({1, 2, 3}));
    s.scene.Parts()[s.armL]->symmetryIndex = s.shoulderR;
    const std::vector<KeyFrame> keys = s.scene.Motions()[0].tracks[s.armL].keys;
    const Matrix4 world = s.scene.Parts()[s.armL]->mesh->GetMatrix();
    TempFolder other;
    other.Write("hand.v1.mqo", CubeObjectFile(3));
    const std::string directory = s.scene.addObjectDirectory;

    ASSERT_TRUE(SwapCurrentObject(s.session, other.File("hand.v1.mqo")).hadPart);
    const Part& part = *s.scene.Parts()[s.armL];
    EXPECT_EQ(part.baseName, "hand");
    EXPECT_EQ(part.displayName, "hand");
    EXPECT_EQ(s.scene.Tree().GetText(part.treeItem), "hand");
    // The cube of half size 3 replaced the small triangle.
    ASSERT_GT(part.mesh->GetVertexNum(), 3);
    float largestX = 0;
    for (int k = 0; k < part.mesh->GetVertexNum(); ++k) largestX = std::max(largestX, part.mesh->GetVertex(k)->x);
    EXPECT_FLOAT_EQ(largestX, 3.0f);
    EXPECT_EQ(part.parentIndex, s.shoulderL);
    EXPECT_EQ(part.symmetryIndex, s.shoulderR);
    EXPECT_TRUE(MatricesNear(part.mesh->GetMatrix(), world, 0));
    ASSERT_EQ(s.scene.Motions()[0].tracks[s.armL].keys.size(), keys.size());
    for (size_t k = 0; k < keys.size(); ++k)
        EXPECT_EQ(s.scene.Motions()[0].tracks[s.armL].keys[k].matrix, keys[k].matrix);
    EXPECT_EQ(s.scene.addObjectDirectory, directory);
    EXPECT_EQ(s.scene.PartCount(), 3);

    // The Part's own old name does not count as taken; another Part's does.
    ASSERT_TRUE(SwapCurrentObject(s.session, other.File("hand.v1.mqo")).hadPart);
    EXPECT_EQ(part.displayName, "hand");
    ASSERT_TRUE(SwapCurrentObject(s.session, s.folder.File("shoulderR.mqo")).hadPart);
    EXPECT_EQ(part.displayName, "shoulderR00000");
    const int vertices = part.mesh->GetVertexNum();
    ASSERT_TRUE(SwapCurrentObject(s.session, "").hadPart);  // the file dialog was cancelled
    EXPECT_EQ(part.displayName, "shoulderR00000");
    EXPECT_EQ(part.mesh->GetVertexNum(), vertices);
    SelectPart(s.scene, -1);
    EXPECT_FALSE(SwapCurrentObject(s.session, s.folder.File("armL.mqo")).hadPart);
}

TEST(DeleteCurrentPart, RemovesTheSubtreeAndItsTracksAsOneUndoStep)
{
    Shoulders s;
    SelectPart(s.scene, s.shoulderL);
    s.session.History().Clear();
    s.session.History().PushUndo("edit");
    DeleteCurrentPart(s.session);
    ASSERT_EQ(s.scene.PartCount(), 1);
    EXPECT_EQ(s.scene.Parts()[0]->baseName, "shoulderR");
    EXPECT_EQ(s.scene.Parts()[0]->symmetryIndex, -1);
    EXPECT_EQ(s.scene.Motions()[0].tracks.size(), 1u);
    EXPECT_EQ(s.session.History().StepCount(), 1);

    SelectPart(s.scene, -1);
    s.session.History().PushUndo("edit");
    DeleteCurrentPart(s.session);
    EXPECT_EQ(s.scene.PartCount(), 1);
    EXPECT_EQ(s.session.History().StepCount(), 1);
}

TEST(AddObject, AddsUnderTheSelectionAsOneUndoStepAndShowsItInTheTitle)
{
    Shoulders s;
    s.session.History().Clear();
    s.session.History().PushUndo("edit");
    s.folder.Write("hand.mqo", CubeObjectFile());
    ASSERT_TRUE(Succeeded(AddObject(s.session, s.folder.File("hand.mqo"))));
    ASSERT_EQ(s.scene.PartCount(), 4);
    EXPECT_EQ(s.scene.Parts()[3]->parentIndex, s.armL);
    EXPECT_EQ(s.session.History().StepCount(), 1);
    EXPECT_NE(s.session.TitleText().find("hand face:12"), std::string::npos) << s.session.TitleText();
}

TEST(AddObject, AFileThatCannotBeReadAddsNothingAndSaysWhichFileAndWhy)
{
    Shoulders s;
    s.session.History().PushUndo("edit");
    const int snapshots = s.session.History().StepCount();
    const std::string directory = s.scene.addObjectDirectory;
    const std::string title = s.session.TitleText();
    TempFolder other;
    other.Write("broken.mqo", CubeObjectFile().substr(0, 120));
    other.Write("notes.mqo", "just some words\n");
    for (const std::string name : {"missing.mqo", "broken.mqo", "notes.mqo"}) {
        const Outcome added = AddObject(s.session, other.File(name));
        EXPECT_FALSE(added) << name;
        EXPECT_NE(added.Message().find(name), std::string::npos) << added.Message();
        EXPECT_EQ(s.scene.PartCount(), 3) << name;
        EXPECT_EQ(s.scene.Motions()[0].tracks.size(), 3u);
        EXPECT_EQ(s.session.CurrentPart(), s.armL);
        EXPECT_EQ(s.session.History().StepCount(), snapshots);
        EXPECT_EQ(s.scene.addObjectDirectory, directory);
        EXPECT_EQ(s.session.TitleText(), title);
    }
    // A dropped file takes the same road.
    ScriptedPrompt prompt;
    const DropOutcome drop = DropFiles(s.session, prompt, {other.File("broken.mqo")});
    EXPECT_EQ(drop.action, DroppedFileAction::AddObject);
    EXPECT_NE(drop.read.Message().find("broken.mqo"), std::string::npos) << drop.read.Message();
    EXPECT_EQ(s.scene.PartCount(), 3);
    // A good file afterwards clears the reason.
    other.Write("hand.mqo", CubeObjectFile());
    const Outcome added = AddObject(s.session, other.File("hand.mqo"));
    EXPECT_TRUE(added);
    EXPECT_EQ(added.Message(), "");
    EXPECT_EQ(s.scene.PartCount(), 4);
}

TEST(SwapCurrentObject, AFileThatCannotBeReadKeepsTheOldGeometryAndName)
{
    Shoulders s;
    const int vertices = s.scene.Parts()[s.armL]->mesh->GetVertexNum();
    const ObjectSwap swap = SwapCurrentObject(s.session, s.folder.File("missing.mqo"));
    ASSERT_TRUE(swap.hadPart);
    EXPECT_NE(swap.loaded.Message().find("missing.mqo"), std::string::npos);
    const Part& part = *s.scene.Parts()[s.armL];
    EXPECT_EQ(part.mesh->GetVertexNum(), vertices);
    EXPECT_EQ(part.baseName, "armL");
    EXPECT_EQ(s.scene.Tree().GetText(part.treeItem), "armL");
}

TEST(AddMirroredPart, AFileThatCannotBeWrittenAddsNothing)
{
    Shoulders s;
    s.scene.addObjectDirectory = s.folder.File("gone");  // no such folder
    const MirroredPartOutcome added = AddMirroredPart(s.session, "armR");
    EXPECT_EQ(added.result, MirroredPartResult::FileNotWritten);
    EXPECT_NE(added.file.Message().find("armR.mesh"), std::string::npos) << added.file.Message();
    EXPECT_EQ(s.scene.PartCount(), 3);
    EXPECT_EQ(s.session.CurrentPart(), s.armL);
    EXPECT_EQ(s.scene.Parts()[s.armL]->symmetryIndex, -1);
}

// --- Dropped files ---

TEST(DroppedFiles, OneFileOnlyJudgedBySubstringsOfItsName)
{
    EXPECT_EQ(DroppedFileActionFor({}), DroppedFileAction::Ignored);
    EXPECT_EQ(DroppedFileActionFor({"/a/x.mqo", "/a/y.mqo"}), DroppedFileAction::Ignored);
    EXPECT_EQ(DroppedFileActionFor({"/a/pose.anm.bak"}), DroppedFileAction::OpenProject);
    EXPECT_EQ(DroppedFileActionFor({"/a/pose.anm"}), DroppedFileAction::OpenProject);
    EXPECT_EQ(DroppedFileActionFor({"/a/arm.mqo"}), DroppedFileAction::AddObject);
    EXPECT_EQ(DroppedFileActionFor({"/a/arm.mesh"}), DroppedFileAction::AddObject);
    EXPECT_EQ(DroppedFileActionFor({"/a/arm.mqo.anm"}), DroppedFileAction::OpenProject);  // ".anm" is tested first
    EXPECT_EQ(DroppedFileActionFor({"/a/ARM.MQO"}), DroppedFileAction::Ignored);          // the test is case-sensitive
    EXPECT_EQ(DroppedFileActionFor({"/a/arm.txt"}), DroppedFileAction::Ignored);
    // Only the name counts; on this system a backslash belongs to the name.
    EXPECT_EQ(DroppedFileActionFor({"/work.anm/arm.mqo"}), DroppedFileAction::AddObject);
    EXPECT_EQ(DroppedFileActionFor({"/work.mqo/notes.txt"}), DroppedFileAction::Ignored);
    EXPECT_EQ(DroppedFileActionFor({"/a/work.mqo\\notes.txt"}), DroppedFileAction::AddObject);
}

TEST(DroppedFiles, AProjectOpensOnlyAfterAYesAndAnObjectIsAddedWithoutAQuestion)
{
    TempFolder folder;
    std::string project;
    {
        Scene saved;
        AddCube(saved, folder, "body.mqo");
        NewMotion(saved, "walk");
        ScriptedPrompt prompt;
        project = folder.File("take.anm");
        ASSERT_TRUE(SaveProject(saved, project, prompt));
    }
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;
    NewMotionCommand(session, "unsaved");
    prompt.yesNo = {false, true};
    EXPECT_EQ(DropFiles(session, prompt, {project}).action, DroppedFileAction::OpenProject);
    EXPECT_EQ(scene.PartCount(), 0);
    EXPECT_EQ(DropFiles(session, prompt, {project}).action, DroppedFileAction::OpenProject);
    EXPECT_EQ(scene.PartCount(), 1);
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"新規作成|現在のデータは失われます。よろしいですか？",
                                                      "新規作成|現在のデータは失われます。よろしいですか？"}));
    // Nothing unsaved: the project opens again without a question.
    EXPECT_EQ(DropFiles(session, prompt, {project}).action, DroppedFileAction::OpenProject);
    EXPECT_EQ(prompt.asked.size(), 2u);

    folder.Write("hand.mqo", CubeObjectFile());
    EXPECT_EQ(DropFiles(session, prompt, {folder.File("hand.mqo")}).action, DroppedFileAction::AddObject);
    EXPECT_EQ(scene.PartCount(), 2);
    EXPECT_EQ(DropFiles(session, prompt, {folder.File("hand.mqo"), project}).action, DroppedFileAction::Ignored);
    EXPECT_EQ(scene.PartCount(), 2);
    EXPECT_EQ(prompt.asked.size(), 2u);
}
