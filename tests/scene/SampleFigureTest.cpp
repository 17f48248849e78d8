// The sample figure under examples/figure: its models read as the editor reads
// them, face outward, look at the "Front" view, and come in mirror pairs; its
// project puts them together standing on the ground and holds two motions.
#include "math/Vec3.h"
#include "meshlib/MqoReader.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>

using namespace m3d;

namespace {

const std::string kFigureDir = std::string(M3D_TEST_DATA_DIR) + "/../../examples/figure/";

const char* const kPartFiles[] = {"torso",       "head",        "upper_arm_l", "lower_arm_l", "hand_l",
                                  "upper_arm_r", "lower_arm_r", "hand_r",      "upper_leg_l", "lower_leg_l",
                                  "foot_l",      "upper_leg_r", "lower_leg_r", "foot_r"};

Vec3 Position(const LoadedModel& model, uint32_t index)
{
    const _MESH_VERTEX& v = model.vertices[index];
    return {v.x, v.y, v.z};
}

LoadedModel ReadPart(const std::string& name)
{
    LoadedModel model;
    EXPECT_TRUE(Succeeded(ReadMqoFile(kFigureDir + name + ".mqo", model)));
    return model;
}

}  // namespace

TEST(SampleFigureModels, EveryPartReadsAndFacesOutward)
{
    for (const char* name : kPartFiles) {
        const LoadedModel model = ReadPart(name);
        ASSERT_FALSE(model.indices.empty()) << name;
        Vec3 centre;
        for (uint32_t i = 0; i < model.vertices.size(); ++i) centre = centre + Position(model, i);
        centre = centre * (1.0f / static_cast<float>(model.vertices.size()));
        // Sum of (face normal . (face centre - model centre)) x area: positive
        // when the faces point away from the inside.
        double outward = 0;
        for (size_t t = 0; t + 2 < model.indices.size(); t += 3) {
            const Vec3 a = Position(model, model.indices[t]), b = Position(model, model.indices[t + 1]),
                       c = Position(model, model.indices[t + 2]);
            const Vec3 doubledAreaNormal = Cross(b - a, c - a);
            outward += 0.5 * Dot(doubledAreaNormal, (a + b + c) * (1.0f / 3.0f) - centre);
        }
        EXPECT_GT(outward, 0.0) << name;
    }
}

TEST(SampleFigureModels, FaceAndToesPointToMinusZ)
{
    // The head's face is the part of the texture right of centre and in its
    // upper half; every triangle mapped there must look towards -Z.
    const LoadedModel head = ReadPart("head");
    ASSERT_EQ(head.materials.size(), 1u);
    EXPECT_EQ(head.materials[0].texturePath, "figure_skin.png");
    int faceTriangles = 0;
    for (size_t t = 0; t + 2 < head.indices.size(); t += 3) {
        bool onFace = true;
        for (int k = 0; k < 3; ++k) {
            const _MESH_VERTEX& v = head.vertices[head.indices[t + k]];
            onFace = onFace && v.tu >= 0.5f && v.tv <= 0.5f;
        }
        if (!onFace) continue;
        ++faceTriangles;
        const Vec3 a = Position(head, head.indices[t]), b = Position(head, head.indices[t + 1]),
                   c = Position(head, head.indices[t + 2]);
        EXPECT_LT(Normalize(Cross(b - a, c - a)).z, -0.9f) << "triangle " << t / 3;
    }
    EXPECT_GE(faceTriangles, 4);

    for (const char* name : {"foot_l", "foot_r"}) {
        const LoadedModel foot = ReadPart(name);
        float nearest = 0, farthest = 0;
        for (const _MESH_VERTEX& v : foot.vertices)
            nearest = std::min(nearest, v.z), farthest = std::max(farthest, v.z);
        EXPECT_LT(nearest, -40.0f) << name << ": the toes reach forward";
        EXPECT_LT(farthest, 24.0f) << name << ": the heel stays short";
    }
}

TEST(SampleFigureModels, RightPartsMirrorTheLeftOnesAcrossXZero)
{
    for (const char* base : {"upper_arm", "lower_arm", "hand", "upper_leg", "lower_leg", "foot"}) {
        const LoadedModel left = ReadPart(std::string(base) + "_l");
        const LoadedModel right = ReadPart(std::string(base) + "_r");
        std::set<std::tuple<float, float, float>> mirrored;
        for (const _MESH_VERTEX& v : left.vertices) mirrored.insert({-v.x + 0.0f, v.y, v.z});
        std::set<std::tuple<float, float, float>> rightPositions;
        for (const _MESH_VERTEX& v : right.vertices) rightPositions.insert({v.x + 0.0f, v.y, v.z});
        EXPECT_EQ(mirrored, rightPositions) << base;
        EXPECT_EQ(left.indices.size(), right.indices.size()) << base;
    }
}

namespace {

// Lowest and highest world height of Part index in the pose shown.
std::pair<float, float> WorldHeightRange(const Scene& scene, int index)
{
    const CMesh& mesh = *scene.Parts()[index]->mesh;
    const Matrix4 world = scene.WorldMatrixOf(index);
    float low = 1e9f, high = -1e9f;
    for (int i = 0; i < mesh.GetVertexNum(); ++i) {
        const _MESH_VERTEX* v = mesh.GetVertex(i);
        const float y = TransformPoint({v->x, v->y, v->z}, world).y;
        low = std::min(low, y), high = std::max(high, y);
    }
    return {low, high};
}

}  // namespace

TEST(SampleFigureProject, OpensWithItsTreePartnersAndMotions)
{
    EditorSession session;
    Scene& scene = session.GetScene();
    const ProjectLoad load = OpenProject(session, kFigureDir + "figure.anm", ProjectOpening::Editing);
    ASSERT_TRUE(load.complete) << load.outcome.Message();
    EXPECT_EQ(load.outcome.Message(), "");
    ASSERT_EQ(scene.PartCount(), 14);
    auto index = [&](const std::string& name) {
        for (int i = 0; i < scene.PartCount(); ++i)
            if (scene.Parts()[i]->displayName == name) return i;
        return -1;
    };
    const std::pair<const char*, const char*> parents[] = {{"torso", ""},
                                                           {"head", "torso"},
                                                           {"upper_arm_l", "torso"},
                                                           {"upper_arm_r", "torso"},
                                                           {"upper_leg_l", "torso"},
                                                           {"upper_leg_r", "torso"},
                                                           {"lower_arm_l", "upper_arm_l"},
                                                           {"lower_leg_r", "upper_leg_r"},
                                                           {"hand_r", "lower_arm_r"},
                                                           {"foot_l", "lower_leg_l"}};
    for (const auto& [child, parent] : parents) {
        ASSERT_GE(index(child), 0) << child;
        EXPECT_EQ(scene.Parts()[index(child)]->parentIndex, *parent ? index(parent) : -1) << child;
    }
    for (const char* base : {"upper_arm", "lower_arm", "hand", "upper_leg", "lower_leg", "foot"}) {
        const int left = index(std::string(base) + "_l"), right = index(std::string(base) + "_r");
        EXPECT_EQ(scene.Parts()[left]->symmetryIndex, right) << base;
        EXPECT_EQ(scene.Parts()[right]->symmetryIndex, left) << base;
        EXPECT_GT(scene.Parts()[left]->localPosition.x, scene.Parts()[right]->localPosition.x - 1e-6f) << base;
    }
    for (int i = 0; i < scene.PartCount(); ++i) EXPECT_GT(scene.Parts()[i]->mesh->GetFaceNum(), 0) << i;

    ASSERT_EQ(scene.Motions().size(), 2u);
    EXPECT_EQ(scene.Motions()[0].name, "walk");
    EXPECT_EQ(scene.Motions()[0].length, 40);
    EXPECT_EQ(scene.Motions()[1].name, "wave");
    EXPECT_EQ(scene.Motions()[1].length, 30);
    const MotionTrack& leg = scene.Motions()[0].tracks[index("upper_leg_l")];
    ASSERT_EQ(leg.keys.size(), 5u);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(leg.keys[k].frame, 10 * k);
    EXPECT_NE(leg.keys[0].matrix, leg.keys[2].matrix) << "the leg swings";

    // Opening shows frame 0 of the last motion: the figure stands on the
    // ground and is about 680 units tall, 136 pixels at the default scale of 5.
    EXPECT_EQ(session.CurrentMotion(), 1);
    EXPECT_NEAR(WorldHeightRange(scene, index("foot_l")).first, 0.0f, 0.05f);
    EXPECT_NEAR(WorldHeightRange(scene, index("foot_r")).first, 0.0f, 0.05f);
    const float top = WorldHeightRange(scene, index("head")).second;
    EXPECT_GT(top, 640.0f);
    EXPECT_LT(top, 720.0f);
}
