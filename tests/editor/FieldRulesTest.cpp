#include "editor/FieldRules.h"
#include "text/UiText.h"

#include <gtest/gtest.h>

using namespace m3d;

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

TEST(FieldRules, ARefusalIsTranslatedBeforeItsNumbersArePlaced)
{
    SetUiTranslator([](const char* context, const char* source) {
        const std::string text = source;
        return std::string(context) == "core" && text == "%1 から %2 までの整数を入力してください。"
                   ? "at most %2, at least %1, %3"
                   : text;
    });
    int width = 7;
    const std::string refused = CheckIntegerField("0", 1, 10000, width).message;
    const std::string untranslated = CheckIntegerField("x", 1, 10000, width).message;
    SetUiTranslator(nullptr);
    EXPECT_EQ(refused, "at most 10000, at least 1, %3");
    EXPECT_EQ(untranslated, "整数を入力してください。");
}

TEST(FieldRules, NumberFieldsShowSixSignificantDigitsAndNoMinusZero)
{
    EXPECT_EQ(FloatFieldText(1.0f), "1");
    EXPECT_EQ(FloatFieldText(-30.0f), "-30");
    EXPECT_EQ(FloatFieldText(0.0001f), "0.0001");
    EXPECT_EQ(FloatFieldText(12.3456789f), "12.3457");
    EXPECT_EQ(FloatFieldText(-0.0f), "0");
}

TEST(FieldRules, TransformFieldsShowFourDecimalsWithoutExponentOrTrailingZeros)
{
    EXPECT_EQ(TransformFieldText(30.0f), "30");
    EXPECT_EQ(TransformFieldText(9.99997f), "10");
    EXPECT_EQ(TransformFieldText(-12.34564f), "-12.3456");
    EXPECT_EQ(TransformFieldText(0.25f), "0.25");
    EXPECT_EQ(TransformFieldText(-157.13452f), "-157.135");
    EXPECT_EQ(TransformFieldText(99.99999f), "100");
    // Below the last decimal a value is 0, of either sign; large ones keep every digit.
    EXPECT_EQ(TransformFieldText(-1.16229e-5f), "0");
    EXPECT_EQ(TransformFieldText(4e-5f), "0");
    EXPECT_EQ(TransformFieldText(123456789.0f), "123456792");
}

TEST(FieldRules, UpDownStepsFromTheFieldWithinTheRange)
{
    EXPECT_EQ(StepUpDown("50", 1, 1, 10000, 7), 51);
    EXPECT_EQ(StepUpDown(" 1 ", -1, 1, 10000, 7), 1);
    EXPECT_EQ(StepUpDown("10000", 1, 1, 10000, 7), 10000);
    // Nothing usable in the field: the step starts from the last position.
    EXPECT_EQ(StepUpDown("abc", -1, 1, 10000, 20), 19);
    EXPECT_EQ(StepUpDown("0", 1, 1, 10000, 5), 6);
    EXPECT_EQ(StepUpDown("2147483647", 1, 1, 2147483647, 5), 2147483647);
}
