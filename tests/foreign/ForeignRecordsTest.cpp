#include "foreign/ForeignRecords.h"
#include "support/ForeignSamples.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

ForeignModel RichModel()
{
    ForeignModel model = ArmModel();
    model.images.push_back({"arm_image0.png", std::string("\x89PNG\r\n\x1a\n\0\1", 10)});
    model.meshes[1].embeddedImages = {0};
    model.dropped = {"skin of mesh 'palm' (rest pose kept)"};
    model.metresPerUnit = 0.01;
    model.animations[0].channels.push_back(
        {1, ForeignPath::Scale, ForeignInterpolation::CubicSpline, {0.25f}, {0, 0, 0, 1, 2, 3, 0, 0, 0}});
    return model;
}

}  // namespace

TEST(ForeignRecordsTest, AModelComesBackFieldForField)
{
    const ForeignModel model = RichModel();
    ForeignModel back;
    ASSERT_TRUE(Succeeded(DecodeForeignModel(EncodeForeignModel(model), "arm.glb", back)));
    ASSERT_EQ(back.nodes.size(), 3u);
    EXPECT_EQ(back.nodes[2].name, "hand");
    EXPECT_EQ(back.nodes[2].parent, 1);
    EXPECT_EQ(back.nodes[1].mesh, -1);
    EXPECT_EQ(back.nodes[0].scale.y, 2.0f);
    EXPECT_EQ(back.nodes[0].rotation.w, model.nodes[0].rotation.w);
    ASSERT_EQ(back.meshes.size(), 2u);
    EXPECT_EQ(back.meshes[1].embeddedImages, std::vector<int32_t>{0});
    EXPECT_EQ(back.meshes[0].embeddedImages, std::vector<int32_t>{-1});
    EXPECT_EQ(back.meshes[0].geometry.vertices[2].tv, 1.0f);
    EXPECT_EQ(back.meshes[0].geometry.materials[0].diffuse.g, 0.25f);
    EXPECT_EQ(back.images[0].bytes, model.images[0].bytes);
    ASSERT_EQ(back.animations[0].channels.size(), 3u);
    EXPECT_EQ(back.animations[0].channels[1].interpolation, ForeignInterpolation::Step);
    EXPECT_EQ(back.animations[0].channels[2].values, model.animations[0].channels[2].values);
    EXPECT_EQ(back.dropped, model.dropped);
    EXPECT_EQ(back.metresPerUnit, 0.01);
}

TEST(ForeignRecordsTest, DamagedRecordsAreRefusedWithTheirPlace)
{
    const std::string bytes = EncodeForeignModel(RichModel());
    ForeignModel out;
    // Every cut ends inside something.
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        ASSERT_FALSE(DecodeForeignModel(bytes.substr(0, cut), "arm.glb", out)) << cut;
    EXPECT_TRUE(out.nodes.empty());

    ForeignModel forward = ArmModel();
    forward.nodes[0].parent = 2;  // a parent after its child would let a tree loop
    const Outcome loop = DecodeForeignModel(EncodeForeignModel(forward), "arm.glb", out);
    EXPECT_NE(loop.Message().find("parent node 2 out of range"), std::string::npos) << loop.Message();

    ForeignModel corner = ArmModel();
    corner.meshes[0].geometry.indices[1] = 3;
    EXPECT_FALSE(DecodeForeignModel(EncodeForeignModel(corner), "arm.glb", out));

    ForeignModel backwards = ArmModel();
    backwards.animations[0].channels[0].times = {1, 0};
    EXPECT_FALSE(DecodeForeignModel(EncodeForeignModel(backwards), "arm.glb", out));

    ForeignModel negative = ArmModel();
    negative.metresPerUnit = -1.0;
    EXPECT_FALSE(DecodeForeignModel(EncodeForeignModel(negative), "arm.glb", out));

    // A count far beyond the bytes is refused before anything is allocated.
    std::string huge = EncodeForeignModel(ForeignModel{});
    // The image count, after magic, version, format name and unit.
    huge[24] = huge[25] = huge[26] = huge[27] = '\xff';
    const Outcome refused = DecodeForeignModel(huge, "big.fbx", out);
    EXPECT_EQ(refused.Message().rfind("big.fbx: byte 24: ", 0), 0u) << refused.Message();
}
