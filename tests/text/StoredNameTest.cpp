#include "text/StoredName.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(StoredName, CharactersThatShiftJisFoldAreFoundWithWhatToTypeInstead)
{
    struct Case {
        const char* typed;
        const char* stored;
        const char* instead;
    };
    // The yen sign comes back as '\', a separator: the full-width yen is offered instead.
    for (const Case c : {Case{"¥", "\\", "￥"}, Case{"〜", "～", "～"}, Case{"−", "－", "－"}, Case{"—", "―", "―"},
                         Case{"‾", "~", "~"}, Case{"¢", "￠", "￠"}, Case{"£", "￡", "￡"}, Case{"¬", "￢", "￢"},
                         Case{"‖", "∥", "∥"}}) {
        SCOPED_TRACE(c.typed);
        const std::string name = std::string("腕") + c.typed + "L";
        const std::optional<FoldedCharacter> folded = FirstFoldedCharacter(name);
        ASSERT_TRUE(folded.has_value());
        EXPECT_EQ(folded->typed, c.typed);
        EXPECT_EQ(folded->stored, c.stored);
        EXPECT_EQ(folded->instead, c.instead);
        EXPECT_EQ(ShiftJisStoredForm(folded->instead), folded->instead);
        const std::string storable = StorableFileName(name);
        EXPECT_EQ(storable, std::string("腕") + c.instead + "L");
        EXPECT_EQ(ShiftJisStoredForm(storable), storable);
    }
    EXPECT_NE(FoldedCharacterMessage(*FirstFoldedCharacter("head〜")).find("「〜」"), std::string::npos);
    // Text that reads back as written, or that has no Shift-JIS form at all, folds nothing.
    for (const char* kept : {"", "arm", "腕～L", "ﾎﾞｰﾙ", "\\", "\xF0\x9F\x98\x80", "\xE3"})
        EXPECT_FALSE(FirstFoldedCharacter(kept).has_value()) << kept;
    // A file name may hold what a project's Part name cannot.
    EXPECT_EQ(StorableFileName("a\\b\tc"), "a￥b_c");
    EXPECT_EQ(StorableFileName("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
}
