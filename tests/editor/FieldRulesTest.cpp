#include "editor/FieldRules.h"

#include <gtest/gtest.h>

TEST(FieldRules, RangesAreInclusiveAndARefusalSaysWhatToTypeAndKeepsTheValue)
{
    int width = 7;
    EXPECT_TRUE(CheckIntegerField(" 10000 ", 1, 10000, width).accepted);
    EXPECT_EQ(width, 10000);
    const FieldCheck low = CheckIntegerField("0", 1, 10000, width);
    EXPECT_FALSE(low.accepted);
    EXPECT_EQ(low.message, "1 から 10000 までの整数を入力してください。");
    EXPECT_EQ(CheckIntegerField("12a", 1, 10000, width).message, "整数を入力してください。");
    EXPECT_EQ(CheckIntegerField("", 1, 10000, width).message, "整数を入力してください。");
    EXPECT_EQ(width, 10000);

    float scale = 2.0f;
    EXPECT_TRUE(CheckFloatField("0.0001", 0.0001f, 10000.0f, scale).accepted);
    EXPECT_EQ(scale, 0.0001f);
    EXPECT_EQ(CheckFloatField("10000.5", 0.0001f, 10000.0f, scale).message,
              "0.0001 から 10000 までの数値を入力してください。");
    EXPECT_EQ(CheckFloatField("nan", 0.0001f, 10000.0f, scale).message, "数値を入力してください。");
    EXPECT_EQ(scale, 0.0001f);
}
