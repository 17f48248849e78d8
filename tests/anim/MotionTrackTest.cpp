#include "scene/Motion.h"
#include "scene/MotionName.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

std::vector<int> FramesOf(const MotionTrack& track)
{
    std::vector<int> frames;
    for (const KeyFrame& key : track.keys) frames.push_back(key.frame);
    return frames;
}

Matrix4 Marked(float value)
{
    Matrix4 m;
    m.m[3][0] = value;
    return m;
}

}  // namespace

TEST(MotionTrack, KeysSetOutOfOrderAreStoredAscendingAndAReplacedKeyKeepsTheCount)
{
    MotionTrack track;
    track.SetKeyMatrix(0, Marked(0));
    track.SetKeyMatrix(30, Marked(30));
    track.SetKeyMatrix(10, Marked(10));
    track.SetKeyMatrix(20, Marked(20));
    EXPECT_EQ(FramesOf(track), (std::vector<int>{0, 10, 20, 30}));
    for (const KeyFrame& key : track.keys) EXPECT_EQ(key.matrix.m[3][0], float(key.frame));

    track.SetKeyMatrix(20, Marked(99));
    EXPECT_EQ(track.keys.size(), 4u);
    EXPECT_EQ(track.keys[2].matrix.m[3][0], 99.0f);
    EXPECT_EQ(track.FindKey(20), 2);
    EXPECT_EQ(track.FindKey(21), -1);
}

TEST(MotionTrack, DeleteKeyRemovesOnlyAnExactFrame)
{
    MotionTrack track;
    for (int f : {0, 5, 9}) track.SetKeyMatrix(f, Marked(float(f)));
    EXPECT_FALSE(track.DeleteKey(6));
    EXPECT_EQ(track.keys.size(), 3u);
    EXPECT_TRUE(track.DeleteKey(5));
    EXPECT_EQ(FramesOf(track), (std::vector<int>{0, 9}));
    EXPECT_EQ(track.keys[1].matrix.m[3][0], 9.0f);
}

TEST(MotionTrack, SortKeysMovesWholeKeys)
{
    MotionTrack track;
    track.keys = {{0, Marked(0)}, {40, Marked(40)}, {7, Marked(7)}, {12, Marked(12)}};
    track.SortKeys();
    EXPECT_EQ(FramesOf(track), (std::vector<int>{0, 7, 12, 40}));
    for (const KeyFrame& key : track.keys) EXPECT_EQ(key.matrix.m[3][0], float(key.frame));
}

TEST(MotionTrack, DropKeysAfterKeepsTheKeyAtTheLastFrame)
{
    MotionTrack track;
    for (int f : {0, 10, 20, 21, 30}) track.SetKeyMatrix(f, Marked(float(f)));
    track.DropKeysAfter(20);
    EXPECT_EQ(FramesOf(track), (std::vector<int>{0, 10, 20}));
    track.DropKeysAfter(100);
    EXPECT_EQ(FramesOf(track), (std::vector<int>{0, 10, 20}));
}

TEST(MotionTrack, KeyMatrixTakesPositionIntoTheTranslationRow)
{
    Matrix4 local = MatrixRotationY(0.5f);
    local.SetTranslation({100, 100, 100});
    const Matrix4 key = KeyMatrixOf(local, {1, 2, 3});
    EXPECT_EQ(key.Translation(), (Vec3{1, 2, 3}));
    EXPECT_EQ(key.m[0][0], local.m[0][0]);
    EXPECT_EQ(key.m[2][0], local.m[2][0]);
    EXPECT_EQ(key.m[3][3], 1.0f);
}

TEST(MotionName, RulesInOrderWithLengthsCountedInShiftJisBytes)
{
    std::vector<Motion> motions(2);
    motions[0].name = "walk";
    motions[1].name = "歩く";

    EXPECT_EQ(ValidateMotionName("", motions), "名前が入力されていません");
    EXPECT_EQ(ValidateMotionName("abcdefghijklmnop", motions), "");  // 16 bytes
    EXPECT_EQ(ValidateMotionName("abcdefghijklmnopq", motions), "モーション名は16文字までです");
    // Eight double-byte characters are 16 bytes in Shift-JIS (24 in UTF-8).
    EXPECT_EQ(ValidateMotionName("あいうえおかきく", motions), "");
    EXPECT_EQ(ValidateMotionName("あいうえおかきくけ", motions), "モーション名は16文字までです");
    // Half-width katakana take one byte each.
    EXPECT_EQ(ValidateMotionName("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ", motions), "");
    EXPECT_EQ(ValidateMotionName("walk", motions), "同じモーション名があります");
    EXPECT_EQ(ValidateMotionName("歩く", motions), "同じモーション名があります");
    EXPECT_EQ(ValidateMotionName("Walk", motions), "");  // compared byte by byte
    // w〜 would be stored as w～: refused as typed, so two names can never meet in the file.
    EXPECT_NE(ValidateMotionName("w〜", motions).find("「～」"), std::string::npos);
    EXPECT_EQ(ValidateMotionName("w～", motions), "");
    EXPECT_EQ(ValidateMotionName("run\xF0\x9F\x8F\x83", motions), "モーション名に使えない文字があります");
    // An over-long name that is also taken is refused for its length first.
    motions[0].name = "abcdefghijklmnopq";
    EXPECT_EQ(ValidateMotionName("abcdefghijklmnopq", motions), "モーション名は16文字までです");
}
