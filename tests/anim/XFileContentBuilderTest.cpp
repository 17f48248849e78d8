#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "anim/XFileContentBuilder.h"
#include "anim/XFileWriter.h"
#include "anim/XMeshWriter.h"
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

using namespace m3d;

namespace {

constexpr int kFactor = 200;

Matrix4 KeyAt(float angleY, Vec3 position)
{
    Matrix4 m = MatrixRotationY(angleY);
    m.SetTranslation(position);
    return m;
}

std::vector<int64_t> TimesOf(const XAnimation& animation)
{
    std::vector<int64_t> times;
    for (const XAnimationKey& key : animation.keys) times.push_back(key.time);
    return times;
}

std::vector<std::string> SetNames(const XFileContent& content)
{
    std::vector<std::string> names;
    for (const XAnimationSet& set : content.animationSets) names.push_back(set.name);
    return names;
}

// Adds a Part named after fileName under Part parent (-1: the root entry).
// The file does not exist, so the Part has an empty mesh: these tests are
// about frames and keys.
int AddPartUnder(Scene& scene, const TempFolder& folder, int parent, const std::string& fileName)
{
    scene.SelectTreeItem(parent < 0 ? scene.rootPart.treeItem : scene.Parts()[parent]->treeItem);
    scene.AddPartFromFile(folder.File(fileName));
    return scene.PartCount() - 1;
}

// A closed tetrahedron, front faces clockwise, with one material.
LoadedModel Tetrahedron()
{
    LoadedModel model;
    const float p[4][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    for (const auto& v : p) {
        _MESH_VERTEX vertex;
        vertex.x = v[0], vertex.y = v[1], vertex.z = v[2];
        model.vertices.push_back(vertex);
    }
    model.indices = {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2};
    model.triangleMaterials = {0, 0, 0, 0};
    model.materials.resize(1);
    return model;
}

Motion MotionWithKeys(int length, std::vector<std::vector<int>> framesPerTrack)
{
    Motion motion;
    motion.length = length;
    for (const auto& frames : framesPerTrack) {
        MotionTrack track;
        for (int f : frames) track.keys.push_back({f, Matrix4()});
        motion.tracks.push_back(track);
    }
    return motion;
}

}  // namespace

TEST(XFileKeyFrames, FramesWithAnyKeyBeforeTheLengthThenTheLength)
{
    // Only frame-0 keys: the start and the end.
    EXPECT_EQ(XFileKeyFrames(MotionWithKeys(60, {{0}, {0}})), (std::vector<int>{0, 60}));
    // Keys of different tracks merge into one ascending list.
    EXPECT_EQ(XFileKeyFrames(MotionWithKeys(30, {{0, 10}, {0, 20}})), (std::vector<int>{0, 10, 20, 30}));
    // A key exactly at the length is listed once; keys beyond it are not listed.
    EXPECT_EQ(XFileKeyFrames(MotionWithKeys(30, {{0, 30}, {0, 5, 30, 40}})), (std::vector<int>{0, 5, 30}));
    // Damaged data: a negative length still gives one key at 0.
    EXPECT_EQ(XFileKeyFrames(MotionWithKeys(-5, {{0}})), (std::vector<int>{0}));
    // Every frame inside a segment that is not linear, up to the length.
    Motion stepped = MotionWithKeys(8, {{0, 3, 6, 10}, {0, 5}});
    stepped.tracks[0].keys[0].interpolation = KeyInterpolation::Step();
    stepped.tracks[0].keys[2].interpolation = KeyInterpolation::Smooth();
    EXPECT_EQ(XFileKeyFrames(stepped), (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8}));
    EXPECT_EQ(MotionKeyFrames(stepped), (std::vector<int>{0, 3, 5, 6, 8}));
}

TEST(BuildXFileContent, AnimationSetsRunFromTheLastMotionToTheFirstWithKeysAtFrameTimesFactor)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "a.mqo");
    AddPartUnder(scene, folder, -1, "b.mqo");
    for (const char* name : {"A", "B", "C"}) NewMotionCommand(session, name);
    // B: A's keys at 0 and 10, B's at 0 and 20, length 30.
    SetKeyMatrix(scene, 1, 0, 10, KeyAt(1.0f, {1, 0, 0}));
    SetKeyMatrix(scene, 1, 1, 20, KeyAt(-1.0f, {0, 2, 0}));
    SetMotionLength(scene, 1, 30);

    const XFileContent content = BuildXFileContent(scene, kFactor);
    EXPECT_EQ(SetNames(content), (std::vector<std::string>{"C", "B", "A"}));
    for (const XAnimation& animation : content.animationSets[1].animations)
        EXPECT_EQ(TimesOf(animation), (std::vector<int64_t>{0, 2000, 4000, 6000})) << animation.name;
    // Frame-0-only motions of length 60: two keys, equal matrices, at 0 and 60 x factor.
    const XAnimation& onlyStart = content.animationSets[0].animations[0];
    ASSERT_EQ(TimesOf(onlyStart), (std::vector<int64_t>{0, 12000}));
    EXPECT_EQ(0, std::memcmp(onlyStart.keys[0].values, onlyStart.keys[1].values, sizeof onlyStart.keys[0].values));
}

TEST(BuildXFileContent, EveryKeyIsThePoseEvaluatePoseGivesAtThatFrame)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "a.mqo");
    AddPartUnder(scene, folder, 0, "b.mqo");
    AddPartUnder(scene, folder, -1, "c.mqo");
    NewMotionCommand(session, "m");
    SetKeyMatrix(scene, 0, 0, 7, KeyAt(2.5f, {1, 2, 3}));
    SetKeyMatrix(scene, 0, 1, 3, KeyAt(-0.5f, {0, -4, 0}));
    SetKeyMatrix(scene, 0, 1, 11, KeyAt(3.0f, {5, 5, 5}));
    SetKeyMatrix(scene, 0, 2, 9, KeyAt(1.0f, {0, 0, 9}));
    SetMotionLength(scene, 0, 20);

    const XFileContent content = BuildXFileContent(scene, kFactor);
    ASSERT_EQ(content.animationSets.size(), 1u);
    const std::vector<int> frames = XFileKeyFrames(scene.Motions()[0]);
    ASSERT_EQ(frames, (std::vector<int>{0, 3, 7, 9, 11, 20}));
    for (size_t k = 0; k < frames.size(); ++k) {
        EvaluatePose(scene, 0, frames[k]);
        for (int p = 0; p < scene.PartCount(); ++p) {
            const Part& part = *scene.Parts()[p];
            float expected[16];
            Matrix4 m = part.localMatrix;
            m.SetTranslation(part.localPosition);
            m.ToArray(expected);
            const XAnimationKey& key = content.animationSets[0].animations[p].keys[k];
            EXPECT_EQ(key.time, int64_t{frames[k]} * kFactor);
            EXPECT_EQ(0, std::memcmp(key.values, expected, sizeof expected)) << "part " << p << " frame " << frames[k];
        }
    }
}

TEST(BuildXFileContent, FrameTransformsComeFromTheFirstMotionWhateverIsCurrent)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "a.mqo");
    NewMotionCommand(session, "first");
    NewMotionCommand(session, "second");
    SetKeyMatrix(scene, 0, 0, 0, KeyAt(0.5f, {1, 2, 3}));
    SetKeyMatrix(scene, 1, 0, 0, KeyAt(-0.5f, {7, 8, 9}));
    session.SelectMotion(1);
    EvaluatePose(scene, 1, 0);

    const XFileContent content = BuildXFileContent(scene, kFactor);
    ASSERT_EQ(content.frames.size(), 1u);
    EXPECT_EQ(content.frames[0].transform, KeyAt(0.5f, {1, 2, 3}));
}

TEST(BuildXFileContent, FramesFollowTheTreeDepthFirstAndAnimationsThePartOrder)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "a.mqo");  // 0
    AddPartUnder(scene, folder, 0, "b.mqo");   // 1, child of a
    AddPartUnder(scene, folder, -1, "c.mqo");  // 2
    AddPartUnder(scene, folder, 1, "d.mqo");   // 3, child of b
    AddPartUnder(scene, folder, 0, "e.mqo");   // 4, second child of a
    NewMotionCommand(session, "m");
    ASSERT_TRUE(scene.Parts()[0]->mesh->LoadModel(Tetrahedron(), folder.File("a.mqo"), 1.0f));

    const XFileContent content = BuildXFileContent(scene, kFactor);
    std::vector<std::string> frames;
    for (const XFrame& frame : content.frames) frames.push_back(frame.name + ":" + std::to_string(frame.depth));
    EXPECT_EQ(frames, (std::vector<std::string>{"a:0", "b:1", "d:2", "e:1", "c:0"}));
    std::vector<std::string> animations;
    for (const XAnimation& animation : content.animationSets[0].animations) animations.push_back(animation.name);
    EXPECT_EQ(animations, (std::vector<std::string>{"a", "b", "c", "d", "e"}));

    // In the text a child frame opens inside its parent, after the parent's mesh.
    const std::string text = WriteXFileText(content);
    const size_t frameA = text.find("Frame Frame_a {"), meshA = text.find("Mesh a {"),
                 frameB = text.find(" Frame Frame_b {");
    const size_t frameC = text.find("Frame Frame_c {");
    ASSERT_NE(frameB, std::string::npos);
    EXPECT_LT(frameA, meshA);
    EXPECT_LT(meshA, frameB);
    EXPECT_LT(frameB, frameC);
    EXPECT_NE(text.find("\r\n  Frame Frame_b {"), std::string::npos);
    EXPECT_NE(text.find("\r\n   Frame Frame_d {"), std::string::npos);
    EXPECT_NE(text.find("\r\n  Frame Frame_e {"), std::string::npos);
    EXPECT_NE(text.find("\r\n Frame Frame_c {"), std::string::npos);
}

TEST(BuildXFileContent, MeshComesFromThePartsGeometry)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "solid.mqo");
    NewMotionCommand(session, "m");
    CMesh& mesh = *scene.Parts()[0]->mesh;
    LoadedModel model = Tetrahedron();
    model.materials[0].texturePath = "Skin.PNG";
    ASSERT_TRUE(Succeeded(mesh.LoadModel(model, folder.File("solid.mqo"), 1.0f)));
    ASSERT_EQ(mesh.GetFaceNum(), 4);

    const XFileContent content = BuildXFileContent(scene, kFactor);
    const XMeshData& data = content.frames[0].mesh;
    EXPECT_EQ(static_cast<int>(data.vertices.size()), mesh.GetVertexNum());
    EXPECT_EQ(static_cast<int>(data.subMeshes.size()), mesh.GetMeshNum());
    EXPECT_EQ(static_cast<int>(data.materials.size()), mesh.GetMtrlNum());
    EXPECT_EQ(static_cast<int>(XFaceList(data).size()), mesh.GetFaceNum());
    // Written lower-cased: that is the name the texture is saved under beside the file.
    EXPECT_EQ(data.textureNames, (std::vector<std::string>{"skin.png"}));
}

TEST(BuildXFileContent, NamesAreUtf8WithUnsafeAsciiReplacedAndKeptApart)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "left arm.mqo");
    AddPartUnder(scene, folder, -1, "left_arm.mqo");
    AddPartUnder(scene, folder, -1, "ボタン{x}.mqo");
    NewMotionCommand(session, "歩く one");

    const std::string text = WriteXFileText(BuildXFileContent(scene, kFactor));
    EXPECT_NE(text.find("Frame Frame_left_arm {"), std::string::npos);
    EXPECT_NE(text.find("Frame Frame_left_arm_2 {"), std::string::npos);
    EXPECT_NE(text.find("{ Frame_left_arm_2 }"), std::string::npos);
    EXPECT_NE(text.find("Frame Frame_ボタン_x_ {"), std::string::npos);
    EXPECT_NE(text.find("AnimationSet 歩く_one {"), std::string::npos);
    // The Shift-JIS form of ボ ends in the byte of '{'; the file must never hold it.
    EXPECT_EQ(text.find("\x83\x7b"), std::string::npos);
}

TEST(BuildXFileContent, DamagedTracksFallBackToTheCurrentPose)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "a.mqo");
    AddPartUnder(scene, folder, -1, "b.mqo");
    NewMotionCommand(session, "m");
    scene.Parts()[0]->localPosition = {4, 5, 6};
    scene.MutableMotions()[0].tracks[0].keys.clear();
    scene.MutableMotions()[0].tracks.pop_back();  // fewer tracks than Parts

    const XFileContent content = BuildXFileContent(scene, kFactor);
    ASSERT_EQ(content.animationSets[0].animations.size(), 2u);
    const XAnimationKey& key = content.animationSets[0].animations[0].keys.back();
    EXPECT_EQ(key.values[12], 4.0f);
    EXPECT_EQ(key.values[13], 5.0f);
    EXPECT_EQ(key.values[14], 6.0f);
    EXPECT_EQ(content.frames[0].transform.Translation(), (Vec3{4, 5, 6}));
}

TEST(ScaleXFileContent, LengthsGrowAndTurnsStay)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddPartUnder(scene, folder, -1, "solid.mqo");
    NewMotionCommand(session, "m");
    ASSERT_TRUE(Succeeded(scene.Parts()[0]->mesh->LoadModel(Tetrahedron(), folder.File("solid.mqo"), 1.0f)));
    SetKeyMatrix(scene, 0, 0, 0, KeyAt(0.5f, {1, 2, 3}));
    SetKeyMatrix(scene, 0, 0, 10, KeyAt(-0.5f, {7, 8, 9}));

    XFileContent content = BuildXFileContent(scene, kFactor);
    const XFileContent original = content;
    ScaleXFileContent(content, 0.5f);
    EXPECT_EQ(content.frames[0].transform, KeyAt(0.5f, {0.5f, 1, 1.5f}));
    const _MESH_VERTEX& vertex = content.frames[0].mesh.vertices[1];
    const _MESH_VERTEX& was = original.frames[0].mesh.vertices[1];
    EXPECT_EQ(std::make_tuple(vertex.x, vertex.y, vertex.z, vertex.nx, vertex.ny, vertex.nz),
              std::make_tuple(was.x / 2, was.y / 2, was.z / 2, was.nx, was.ny, was.nz));
    const XAnimationKey& key = content.animationSets[0].animations[0].keys.back();
    Matrix4 keyMatrix;
    std::memcpy(keyMatrix.m, key.values, sizeof key.values);
    EXPECT_EQ(keyMatrix, KeyAt(-0.5f, {3.5f, 4, 4.5f}));
}
