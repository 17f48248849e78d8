#include "text/ShiftJis.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(ShiftJis, RoundTripAndByteLengths)
{
    // ボ is 0x83 0x7B: a trail byte that reads as '{' in ASCII.
    const std::string sjis("\x83\x7B", 2);
    ASSERT_EQ(ShiftJisToUtf8(sjis).value(), "ボ");
    EXPECT_EQ(Utf8ToShiftJis("ボ").value(), sjis);
    EXPECT_EQ(ShiftJisByteLength("abcあいう").value(), 9u);
    // Half-width katakana take one byte each.
    EXPECT_EQ(ShiftJisByteLength("ｱﾆﾒ").value(), 3u);
    EXPECT_FALSE(ShiftJisToUtf8(std::string("\x83", 1)).has_value());
    EXPECT_FALSE(Utf8ToShiftJis("\xF0\x9F\x98\x80").has_value());  // an emoji has no Shift-JIS form
}

TEST(ShiftJis, AsciiLowerLeavesMultibyteCharactersAlone)
{
    // 郎 (U+90CE) must survive: byte-wise lowering of its Shift-JIS form would change 'Y'.
    EXPECT_EQ(AsciiLower("Skin.PNG"), "skin.png");
    EXPECT_EQ(AsciiLower("空条承太郎\\TEX1.JPG"), "空条承太郎\\tex1.jpg");
}
