#include "editor/TransformPanelControls.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

TransformValues NumberedValues()
{
    TransformValues v;
    v.relativeRotation = {1, 2, 3};
    v.absoluteRotation = {4, 5, 6};
    v.relativePosition = {7, 8, 9};
    v.absolutePosition = {10, 11, 12.5f};
    return v;
}

}  // namespace

TEST(TransformPanelControls, FieldsGoRowByRowAndReadBackAllOrNothing)
{
    const TransformFieldTexts texts = FieldTextsOf(NumberedValues());
    const TransformFieldTexts expected{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12.5"};
    EXPECT_EQ(texts, expected);

    TransformValues read;
    EXPECT_TRUE(ReadTransformFields(texts, read).check.accepted);
    EXPECT_EQ(FieldTextsOf(read), expected);

    TransformFieldTexts typed = texts;
    typed[0] = "-45";
    typed[7] = "8,5";
    const TransformFieldsRead refused = ReadTransformFields(typed, read);
    EXPECT_FALSE(refused.check.accepted);
    EXPECT_EQ(refused.refusedField, 7);
    EXPECT_EQ(refused.check.message, "数値を入力してください。");
    EXPECT_EQ(read.relativeRotation.h, 1.0f);  // the fields before the refused one are not taken either
}

TEST(TransformPanelControls, AnglesShowWithoutTheNoiseOfTheirDecomposition)
{
    TransformValues v;
    // The angles typed come back from the matrix a little off (10 as 9.99997).
    v.relativeRotation = AnglesFromMatrix(RotationFromAngles({10, -20, 30}));
    v.absoluteRotation = {-79.80512f, 0.00004f, -0.00004f};
    // Positions too: no exponent, nothing below the fourth decimal.
    v.relativePosition = {9.99997f, -79.80512f, 0.00004f};
    const TransformFieldTexts texts = FieldTextsOf(v);
    const TransformFieldTexts expected{"10", "-20", "30", "-79.8051", "0", "0", "10", "-79.8051", "0", "0", "0", "0"};
    EXPECT_EQ(texts, expected);
}
