// An independent DirectX reader must find in our file what we put there.
#ifdef M3D_HAVE_ASSIMP

#include "anim/ExportXFile.h"
#include "anim/MotionOperations.h"
#include "anim/XFileText.h"
#include "crafted/CraftedShape.h"
#include "anim/PoseEvaluation.h"
#include "scene/ProjectFile.h"
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "support/AssimpChannel.h"
#include "support/GltfSampleScenes.h"
#include "support/OutcomeAssertions.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace m3d;

namespace {

// A closed tube of sides segments around -Y, length long; every other side
// uses material 1 (textured when texture is given).
LoadedModel Tube(int sides, float length, const std::string& texture)
{
    LoadedModel model;
    for (int ring = 0; ring < 2; ++ring)
        for (int k = 0; k < sides; ++k) {
            _MESH_VERTEX v;
            v.x = std::cos(6.2831853f * k / sides);
            v.z = std::sin(6.2831853f * k / sides);
            v.y = -length * ring;
            model.vertices.push_back(v);
        }
    const uint32_t n = static_cast<uint32_t>(sides);
    for (uint32_t k = 0; k < n; ++k) {
        const uint32_t next = (k + 1) % n;
        model.indices.insert(model.indices.end(), {k, next, k + n, next, next + n, k + n});
        model.triangleMaterials.insert(model.triangleMaterials.end(), 2, k % 2);
    }
    for (uint32_t k = 1; k + 1 < n; ++k) {
        model.indices.insert(model.indices.end(), {0, k + 1, k, n, n + k, n + k + 1});
        model.triangleMaterials.insert(model.triangleMaterials.end(), 2, 0);
    }
    model.materials.resize(2);
    model.materials[0].diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    model.materials[1].diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    model.materials[1].texturePath = texture;
    return model;
}

struct ExportedModel {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    std::string path = folder.File("model.x");

    int Add(int parent, const std::string& name, int sides)
    {
        scene.SelectTreeItem(parent < 0 ? scene.rootPart.treeItem : scene.Parts()[parent]->treeItem);
        scene.AddPartFromFile(folder.File(name + ".mqo"));
        EXPECT_TRUE(Succeeded(scene.Parts().back()->mesh->LoadModel(
            Tube(sides, 2.0f + sides, sides == 6 ? "Tex.png" : ""), folder.File(name + ".mqo"), 1.0f)));
        return scene.PartCount() - 1;
    }
};

void Names(const aiNode* node, std::string prefix, std::vector<std::string>& out)
{
    out.push_back(prefix + node->mName.C_Str());
    for (unsigned i = 0; i < node->mNumChildren; ++i) Names(node->mChildren[i], prefix + " ", out);
}

const aiNode* Find(const aiNode* node, const std::string& name)
{
    if (name == node->mName.C_Str()) return node;
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        if (const aiNode* found = Find(node->mChildren[i], name)) return found;
    return nullptr;
}

}  // namespace

TEST(XFileAssimp, ReaderFindsFramesMeshesMaterialsAndKeys)
{
    ExportedModel model;
    const int body = model.Add(-1, "body", 6);
    model.Add(body, "arm", 5);
    model.Add(-1, "prop", 4);
    NewMotionCommand(model.session, "idle");  // only frame-0 keys, length 60
    NewMotionCommand(model.session, "move");
    SetKeyMatrix(model.scene, 1, 0, 10, MatrixRotationY(1.0f));
    SetKeyMatrix(model.scene, 1, 2, 20, MatrixTranslation(0, 3, 0));
    SetMotionLength(model.scene, 1, 30);
    constexpr int factor = 160;
    ScriptedPrompt prompt;
    const ExportXResult result = ExportXFile(model.scene, model.path, factor, prompt);
    ASSERT_TRUE(result.written) << result.message;

    Assimp::Importer importer;
    const aiScene* read = importer.ReadFile(model.path, 0);
    ASSERT_NE(read, nullptr) << importer.GetErrorString();

    std::vector<std::string> nodes;
    Names(read->mRootNode, "", nodes);
    EXPECT_EQ(nodes, (std::vector<std::string>{"root", " Frame_body", "  Frame_arm", " Frame_prop"}));

    // The reader splits a mesh by material and gives every face its own corners.
    for (const auto& [name, part] :
         std::map<std::string, int>{{"Frame_body", 0}, {"Frame_arm", 1}, {"Frame_prop", 2}}) {
        const aiNode* node = Find(read->mRootNode, name);
        ASSERT_NE(node, nullptr) << name;
        const CMesh& mesh = *model.scene.Parts()[part]->mesh;
        unsigned faces = 0;
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            const aiMesh* m = read->mMeshes[node->mMeshes[i]];
            faces += m->mNumFaces;
            EXPECT_EQ(m->mNumVertices, 3 * m->mNumFaces) << name;
            for (unsigned v = 0; v < m->mNumVertices; ++v) {
                bool known = false;
                for (int j = 0; j < mesh.GetVertexNum() && !known; ++j) {
                    const _MESH_VERTEX* ours = mesh.GetVertex(j);
                    // Six decimals in the file: equal to within half a millionth.
                    known = std::fabs(ours->x - m->mVertices[v].x) < 1e-6f &&
                            std::fabs(ours->y - m->mVertices[v].y) < 1e-6f &&
                            std::fabs(ours->z - m->mVertices[v].z) < 1e-6f;
                }
                EXPECT_TRUE(known) << name << " vertex " << v;
            }
        }
        EXPECT_EQ(static_cast<int>(faces), mesh.GetFaceNum()) << name;
        EXPECT_EQ(node->mNumMeshes, 2u) << name;
    }

    int textured = 0;
    int blue = 0;
    for (unsigned i = 0; i < read->mNumMaterials; ++i) {
        aiString texture;
        if (read->mMaterials[i]->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS) {
            EXPECT_STREQ(texture.C_Str(), "tex.png");
            ++textured;
        }
        aiColor4D diffuse;
        if (read->mMaterials[i]->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse) == AI_SUCCESS && diffuse.r == 0.5f &&
            diffuse.g == 0.25f && diffuse.b == 1.0f)
            ++blue;
    }
    EXPECT_EQ(textured, 1);
    EXPECT_EQ(blue, 3);

    ASSERT_EQ(read->mNumAnimations, 2u);
    const std::vector<std::pair<std::string, std::vector<double>>> expected = {
        {"move", {0, 10 * factor, 20 * factor, 30 * factor}}, {"idle", {0, 60 * factor}}};
    for (unsigned a = 0; a < 2; ++a) {
        const aiAnimation* animation = read->mAnimations[a];
        EXPECT_EQ(animation->mName.C_Str(), expected[a].first);
        EXPECT_EQ(animation->mTicksPerSecond, 4800.0);
        ASSERT_EQ(animation->mNumChannels, 3u);
        for (unsigned c = 0; c < 3; ++c) {
            const aiNodeAnim* channel = animation->mChannels[c];
            EXPECT_EQ(channel->mNodeName.C_Str(), std::string("Frame_") + model.scene.Parts()[c]->displayName);
            std::vector<double> times;
            for (unsigned k = 0; k < channel->mNumPositionKeys; ++k) times.push_back(channel->mPositionKeys[k].mTime);
            EXPECT_EQ(times, expected[a].second) << expected[a].first << " channel " << c;
            EXPECT_EQ(channel->mNumRotationKeys, channel->mNumPositionKeys);
        }
    }
    // Part prop moves up by 3 at frame 20 of "move".
    const aiNodeAnim* prop = read->mAnimations[0]->mChannels[2];
    EXPECT_FLOAT_EQ(prop->mPositionKeys[2].mValue.y, 3.0f);
}

TEST(XFileAssimp, EveryFrameIsTheEditorsPoseWhateverTheInterpolation)
{
    TempFolder folder;
    EditorSession session;
    BuildInterpolationSample(session, folder);
    const Scene& scene = session.GetScene();
    const std::string path = folder.File("kinds.x");
    constexpr int factor = 160;
    ScriptedPrompt prompt;
    const ExportXResult result = ExportXFile(session.GetScene(), path, factor, prompt);
    ASSERT_TRUE(result.written) << result.message;

    Assimp::Importer importer;
    const aiScene* read = importer.ReadFile(path, 0);
    ASSERT_NE(read, nullptr) << importer.GetErrorString();
    ASSERT_EQ(read->mNumAnimations, 2u);
    for (unsigned a = 0; a < 2; ++a) {
        const aiAnimation& animation = *read->mAnimations[a];
        const Motion& motion = scene.Motions()[1 - a];  // the last Motion first
        EXPECT_EQ(animation.mName.C_Str(), motion.name);
        ASSERT_EQ(animation.mNumChannels, static_cast<unsigned>(scene.PartCount()));
        for (int part = 0; part < scene.PartCount(); ++part) {
            for (int frame = 0; frame <= motion.length; ++frame) {
                const aiMatrix4x4 local = AssimpLocalAt(*animation.mChannels[part], double(frame) * factor);
                const TrackPose pose = PartPoseAt(scene, motion, part, frame);
                Matrix4 expected = pose.localMatrix;
                expected.SetTranslation(pose.localPosition);
                // The reader turns the file's left-handed axes into its own
                // right-handed ones (mirroring Z) and its matrices act on
                // column vectors: S M^T S, S = diag(1, 1, -1).
                for (int r = 0; r < 3; ++r)
                    for (int c = 0; c < 4; ++c)
                        EXPECT_NEAR(local[r][c], ((r == 2) != (c == 2) ? -1.0f : 1.0f) * expected.m[c][r], 1e-5f)
                            << motion.name << " part " << part << " frame " << frame << " element " << r << "," << c;
            }
        }
    }
}

TEST(XFileAssimp, AChainDeeperThanTheIndentationLimitIsReadWhole)
{
    TempFolder folder;
    const size_t depth = XFileText::kMaxIndent + 6;
    EditorSession session;
    Scene& scene = session.GetScene();
    const ProjectLoad load =
        LoadProject(scene, WriteDeepChainProject(folder.File("chain"), depth), ProjectOpening::Editing);
    ASSERT_TRUE(load.complete) << load.outcome.Message();
    const std::string path = folder.File("chain.x");
    ScriptedPrompt prompt;
    const ExportXResult result = ExportXFile(scene, path, kDefaultTimeScaleFactor, prompt);
    ASSERT_TRUE(result.written) << result.message;

    Assimp::Importer importer;
    const aiScene* read = importer.ReadFile(path, 0);
    ASSERT_NE(read, nullptr) << importer.GetErrorString();
    const aiNode* node = read->mRootNode;
    for (size_t level = 0; level < depth; ++level) {
        ASSERT_EQ(node->mNumChildren, 1u) << level;
        node = node->mChildren[0];
        EXPECT_EQ(std::string(node->mName.C_Str()), "Frame_p" + std::to_string(level));
        EXPECT_EQ(node->mNumMeshes, 1u) << level;
    }
    EXPECT_EQ(node->mNumChildren, 0u);
    ASSERT_EQ(read->mNumAnimations, 1u);
    EXPECT_EQ(read->mAnimations[0]->mNumChannels, depth);
}

#endif
