#include "anim/ExportGltfFile.h"
#include "anim/ExportLengthScale.h"
#include "anim/ImportScale.h"
#include "anim/ModelImport.h"
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/ModelHeight.h"
#include "editor/ModelImportCommands.h"
#include "editor/OptionCommands.h"
#include "editor/PoseCommands.h"
#include "foreign/ForeignReaderProcess.h"
#include "foreign/NodeWorlds.h"
#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/OutcomeAssertions.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace m3d;

namespace {

GltfChoices ScaledBy(float scale)
{
    GltfChoices choices;
    choices.lengthScale = scale;
    return choices;
}

}  // namespace

// The sample figure exported as glTF and read back: every Part at every frame
// of every Motion stands where it stood, and its vertices with it; exported
// at a scale, every length comes back that many times as long.
TEST(ModelImportRoundTripTest, OurOwnGltfExportComesBackPartForPartFrameForFrame)
{
    const std::string figure = std::string(M3D_TEST_DATA_DIR) + "/../../examples/figure/figure.anm";
    EditorSession session;
    ASSERT_TRUE(Succeeded(OpenProject(session, figure, ProjectOpening::Editing).outcome));
    Scene& original = session.GetScene();
    TempFolder folder;
    ScriptedPrompt prompt;
    for (const auto& [name, scale] : {std::pair{"figure.glb", 1.0f}, {"figure.gltf", 1.0f}, {"small.glb", 0.01f}}) {
        ASSERT_TRUE(ExportGltfFile(original, folder.File(name), 30, prompt, ScaledBy(scale)).written) << name;
        ForeignModel model;
        ASSERT_TRUE(Succeeded(ReadForeignModelFile(folder.File(name), 1.0f, model)));
        Scene imported;
        const ModelImport import = ImportModel(imported, model, folder.File(name), 30);
        ASSERT_EQ(imported.PartCount(), original.PartCount()) << name;
        ASSERT_EQ(imported.MotionCount(), original.MotionCount());
        float worstTurn = 0, worstPlace = 0;
        for (int m = 0; m < original.MotionCount(); ++m) {
            const Motion& before = original.MotionAt(m);
            const Motion& after = imported.MotionAt(m);
            EXPECT_EQ(after.name, before.name);
            EXPECT_EQ(after.length, before.length) << before.name;
            for (int frame = 0; frame <= before.length; ++frame) {
                const std::vector<Matrix4> was = WorldPoseAt(original, before, frame);
                const std::vector<Matrix4> is = WorldPoseAt(imported, after, frame);
                for (int p = 0; p < original.PartCount(); ++p)
                    for (int r = 0; r < 4; ++r)
                        for (int c = 0; c < 3; ++c) {
                            const float expected = was[p].m[r][c] * (r < 3 ? 1.0f : scale);
                            const float d = std::fabs(is[p].m[r][c] - expected);
                            float& worst = r < 3 ? worstTurn : worstPlace;
                            worst = std::max(worst, r < 3 ? d : d / std::max(scale, std::fabs(expected)));
                        }
            }
        }
        // Positions are compared relative to their size: the figure spans hundreds of units, where
        // 1e-4 is a few steps of a float.
        EXPECT_LE(worstTurn, 1e-4f) << name;
        EXPECT_LE(worstPlace, 1e-4f) << name;
        for (int p = 0; p < original.PartCount(); ++p) {
            const CMesh& a = *original.PartAt(p)->mesh;
            const CMesh& b = *imported.PartAt(p)->mesh;
            EXPECT_EQ(imported.PartAt(p)->displayName, original.PartAt(p)->displayName);
            ASSERT_EQ(b.GetFaceNum(), a.GetFaceNum()) << original.PartAt(p)->displayName;
            EXPECT_TRUE(VectorsNear({b.GetVertex(0)->x, b.GetVertex(0)->y, b.GetVertex(0)->z},
                                    Vec3{a.GetVertex(0)->x, a.GetVertex(0)->y, a.GetVertex(0)->z} * scale, 1e-5f));
        }
        EXPECT_TRUE(import.dropped.empty()) << import.dropped.front();
    }
}

namespace {

// Every vertex of model at rest, placed by its nodes.
std::vector<Vec3> RestVertices(const ForeignModel& model, const std::string& name)
{
    LoadedModel merged;
    EXPECT_TRUE(Succeeded(MergeModelGeometry(model, name, merged)));
    std::vector<Vec3> out;
    for (const _MESH_VERTEX& v : merged.vertices) out.push_back({v.x, v.y, v.z});
    return out;
}

}  // namespace

// A model 0.7 m tall as posed in a glTF (metres) comes in at the scale the import
// proposes (100: one unit a centimetre), the project takes that unit, and its
// glTF export by default gives the model back at its own size.
TEST(ModelImportRoundTripTest, AMetreModelAtTheProposedScaleExportsBackAtItsSize)
{
    const std::string figure = std::string(M3D_TEST_DATA_DIR) + "/../../examples/figure/figure.anm";
    EditorSession original;
    ASSERT_TRUE(Succeeded(OpenProject(original, figure, ProjectOpening::Editing).outcome));
    TempFolder folder;
    ScriptedPrompt prompt;
    const std::string lamp = folder.File("lamp.glb");
    const float metres = 0.7f / float(*ModelHeight(original.GetScene()));
    ASSERT_TRUE(ExportGltfFile(original.GetScene(), lamp, 30, prompt, ScaledBy(metres)).written);

    ForeignModel model;
    ASSERT_TRUE(Succeeded(ReadForeignModelInChild(lamp, model)));
    EXPECT_EQ(model.metresPerUnit, 1.0);
    const Vec3 size = RestSizeOf(model);
    ModelImportOptions options;
    options.scale = ProposedImportScale(std::max({size.x, size.y, size.z}), model.metresPerUnit, kUnknownLengthUnit);
    EXPECT_EQ(options.scale, 100.0f);

    EditorSession session;
    ASSERT_TRUE(Succeeded(ImportReadModelCommand(session, lamp, std::move(model), options)));
    const Scene& scene = session.GetScene();
    EXPECT_DOUBLE_EQ(scene.metresPerUnit, 0.01);
    EXPECT_NEAR(*ModelHeight(scene), 70.0, 1e-2);
    const std::string back = folder.File("back.glb");
    ASSERT_TRUE(
        ExportGltfCommand(session, back, prompt, ScaledBy(DefaultExportScale(scene.metresPerUnit, kGltfMetresPerUnit)))
            .written);

    ForeignModel before, after;
    ASSERT_TRUE(Succeeded(ReadForeignModelFile(lamp, 1.0f, before)));
    ASSERT_TRUE(Succeeded(ReadForeignModelFile(back, 1.0f, after)));
    const std::vector<Vec3> was = RestVertices(before, "lamp.glb"), is = RestVertices(after, "back.glb");
    ASSERT_EQ(is.size(), was.size());
    float worst = 0.0f;
    for (size_t v = 0; v < was.size(); ++v)
        worst = std::max(
            {worst, std::fabs(is[v].x - was[v].x), std::fabs(is[v].y - was[v].y), std::fabs(is[v].z - was[v].z)});
    EXPECT_LE(worst, 1e-5f);

    // The unit came with the import and goes with its undo.
    UndoCommand(session);
    EXPECT_EQ(scene.metresPerUnit, kUnknownLengthUnit);
}
