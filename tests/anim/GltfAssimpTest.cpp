// An independent glTF reader must find in our .glb what the editor shows: the
// parts tree, the meshes, one animation per Motion, and at every frame the
// pose the command line reports, seen through the mirror into glTF's axes.
#ifdef M3D_HAVE_ASSIMP

#include "scene/ProjectFile.h"
#include "support/AssimpChannel.h"
#include "support/CliRun.h"
#include "support/GltfSampleScenes.h"
#include "support/ScriptedPrompt.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <map>

using namespace m3d;

namespace {

void Names(const aiNode* node, const std::string& prefix, std::vector<std::string>& out)
{
    out.push_back(prefix + node->mName.C_Str());
    for (unsigned i = 0; i < node->mNumChildren; ++i) Names(node->mChildren[i], prefix + " ", out);
}

}  // namespace

TEST(GltfAssimp, ReaderFindsTreeMeshesAnimationsAndTheEditorsPoseAtEveryFrame)
{
    TempFolder folder;
    {
        EditorSession session;
        BuildFigureSample(session, folder);
        ScriptedPrompt prompt;
        ASSERT_TRUE(SaveProject(session.GetScene(), folder.File("figure.anm"), prompt));
    }
    const std::string project = Quote(folder.File("figure.anm"));
    const CliResult exported =
        RunCli("export-gltf " + project + " " + Quote(folder.File("out.glb")) + " --fps 24", folder.File("err"));
    ASSERT_EQ(exported.exitCode, 0) << exported.err;

    Assimp::Importer importer;
    const aiScene* read = importer.ReadFile(folder.File("out.glb"), 0);
    ASSERT_NE(read, nullptr) << importer.GetErrorString();

    std::vector<std::string> nodes;
    Names(read->mRootNode, "", nodes);
    const std::vector<std::string> tree = {"胴体", " 頭", "  目印", " 左腕", " 右腕", "台"};
    std::vector<std::string> below(nodes.begin() + 1, nodes.end());
    for (std::string& name : below) name.erase(0, 1);
    EXPECT_EQ(below, tree) << "under the reader's root " << nodes[0];

    // Every cube has 24 vertices and 12 faces, wound counter-clockwise seen
    // from outside: the corners' cross product points along the normals.
    std::map<std::string, const aiNode*> nodeNamed;
    std::vector<const aiNode*> pending{read->mRootNode};
    while (!pending.empty()) {
        const aiNode* node = pending.back();
        pending.pop_back();
        nodeNamed[node->mName.C_Str()] = node;
        pending.insert(pending.end(), node->mChildren, node->mChildren + node->mNumChildren);
    }
    for (const char* name : {"胴体", "頭", "左腕", "右腕", "台"}) {
        const aiNode* node = nodeNamed.at(name);
        ASSERT_EQ(node->mNumMeshes, 1u) << name;
        const aiMesh* mesh = read->mMeshes[node->mMeshes[0]];
        EXPECT_EQ(mesh->mNumVertices, 24u) << name;
        ASSERT_EQ(mesh->mNumFaces, 12u) << name;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const unsigned* c = mesh->mFaces[f].mIndices;
            const aiVector3D& a = mesh->mVertices[c[0]];
            const aiVector3D turn = (mesh->mVertices[c[1]] - a) ^ (mesh->mVertices[c[2]] - a);
            EXPECT_GT(turn * mesh->mNormals[c[0]], 0.0f) << name << " face " << f;
        }
    }
    EXPECT_EQ(nodeNamed.at("目印")->mNumMeshes, 0u);

    ASSERT_EQ(read->mNumAnimations, 3u);
    const char* motions[] = {"歩く", "待機", "jump"};
    for (unsigned a = 0; a < 3; ++a) {
        EXPECT_STREQ(read->mAnimations[a]->mName.C_Str(), motions[a]);
        ASSERT_EQ(read->mAnimations[a]->mNumChannels, 6u) << motions[a];
        // Neighbouring rotations on one side, so that even a plain slerp takes
        // the shorter arc the editor takes (the torso turns by 120 degrees a key).
        for (unsigned c = 0; c < 6; ++c) {
            const aiNodeAnim& channel = *read->mAnimations[a]->mChannels[c];
            for (unsigned k = 1; k < channel.mNumRotationKeys; ++k) {
                const aiQuaternion& p = channel.mRotationKeys[k - 1].mValue;
                const aiQuaternion& q = channel.mRotationKeys[k].mValue;
                EXPECT_GE(p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w, 0.0f) << motions[a] << " key " << k;
            }
        }
    }

    // The world matrix of every Part at key frames and between them, against
    // the command line's pose mirrored in Z: G = S W^T S, S = diag(1, 1, -1).
    const aiAnimation& walk = *read->mAnimations[0];
    const double ticksPerSecond = walk.mTicksPerSecond > 0 ? walk.mTicksPerSecond : 1.0;
    for (int frame : {0, 4, 10, 13, 15, 20, 25, 33, 40}) {
        const CliResult pose =
            RunCli("pose " + project + " --motion 歩く --frame " + std::to_string(frame), folder.File("err"));
        ASSERT_EQ(pose.exitCode, 0) << pose.err;
        const nlohmann::json parts = nlohmann::json::parse(pose.out)["parts"];
        ASSERT_EQ(parts.size(), 6u);
        // Within a ten-thousandth of the model's size: the span of the Parts'
        // origins plus the edge of a cube.
        float low = 0, high = 0;
        for (const nlohmann::json& part : parts)
            for (int axis = 12; axis < 15; ++axis) {
                low = std::min(low, part["world"][axis].get<float>());
                high = std::max(high, part["world"][axis].get<float>());
            }
        const float tolerance = 1e-4f * (high - low + 2.0f);
        for (const nlohmann::json& part : parts) {
            const std::string name = part["displayName"];
            std::vector<float> w = part["world"].get<std::vector<float>>();
            aiMatrix4x4 expected;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    const float sign = ((r == 2) != (c == 2)) ? -1.0f : 1.0f;
                    expected[r][c] = sign * w[c * 4 + r];
                }
            aiMatrix4x4 world;
            for (const aiNode* node = nodeNamed.at(name); node != nullptr; node = node->mParent) {
                aiMatrix4x4 local = node->mTransformation;
                for (unsigned c = 0; c < walk.mNumChannels; ++c)
                    if (walk.mChannels[c]->mNodeName == node->mName)
                        local = AssimpLocalAt(*walk.mChannels[c], frame / 24.0 * ticksPerSecond);
                world = local * world;
            }
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 4; ++c)
                    EXPECT_NEAR(world[r][c], expected[r][c], tolerance)
                        << name << " frame " << frame << " element " << r << "," << c;
        }
    }
}

#endif
