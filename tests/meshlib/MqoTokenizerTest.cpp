#include "meshlib/MqoTokenizer.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <random>
#include <string>

using namespace m3d;

TEST(MqoTokenizer, NumbersMatchFromCharsBitForBit)
{
    // The reader takes a shortcut for plain decimals; it must agree with the
    // general conversion on every input, rounding and signed zero included.
    std::mt19937 random(7);
    std::vector<std::string> samples = {"0",         "-0",           "0.0000",         "-0.000",
                                        "97.1473",   "16777215",     "16777216",       "16777217",
                                        "0.1",       "0.3",          "3.4028234",      "123456789",
                                        "1234567.8", "0.0000000001", "0.00000000001",  "5.",
                                        "-46.5994",  "1000.0000",    "6.12323426e-17", "1E3",
                                        "999999999", "0.000001234"};
    for (int i = 0; i < 20000; ++i) {
        std::string s = (random() % 2) ? "-" : "";
        const int before = 1 + random() % 8, after = random() % 11;
        for (int k = 0; k < before; ++k) s += char('0' + random() % 10);
        if (after > 0 || random() % 2) s += '.';
        for (int k = 0; k < after; ++k) s += char('0' + random() % 10);
        samples.push_back(s);
    }
    for (const std::string& s : samples) {
        float expected = 0;
        std::from_chars(s.data(), s.data() + s.size(), expected);
        float actual = 1234.5f;
        const std::string line = s + " x";
        MqoLineCursor cursor(line);
        ASSERT_TRUE(cursor.Float(actual)) << s;
        EXPECT_EQ(std::bit_cast<uint32_t>(actual), std::bit_cast<uint32_t>(expected)) << s;
        EXPECT_EQ(cursor.Word(), "x") << s;
    }
}

TEST(MqoTokenizer, FieldsQuotesAndLineEnds)
{
    MqoLineCursor cursor("\t\"a b(c)\" tex(\"x.png\") V(1 +2 3)");
    std::string_view text;
    ASSERT_TRUE(cursor.Quoted(text));
    EXPECT_EQ(text, "a b(c)");
    EXPECT_EQ(cursor.Word(), "tex");
    ASSERT_TRUE(cursor.Consume('('));
    ASSERT_TRUE(cursor.Quoted(text));
    EXPECT_EQ(text, "x.png");
    EXPECT_TRUE(cursor.Consume(')'));
    EXPECT_EQ(cursor.Word(), "V");
    ASSERT_TRUE(cursor.Consume('('));
    uint32_t a = 0, b = 0;
    int32_t c = 0;
    EXPECT_TRUE(cursor.Uint(a) && cursor.Uint(b) && cursor.Int(c));
    EXPECT_EQ(a + b + uint32_t(c), 6u);
    EXPECT_FALSE(cursor.Uint(a));  // ')' is not a number, and the cursor stays put
    EXPECT_TRUE(cursor.Consume(')'));
    EXPECT_TRUE(cursor.AtEnd());

    MqoLineReader reader("one\r\ntwo\n\nthree [3]\n{}\nfour");
    std::string_view line, bytes;
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line, "one");
    ASSERT_TRUE(reader.NextLine(line) && reader.NextLine(line) && reader.NextLine(line));
    EXPECT_EQ(line, "three [3]");
    size_t size = 0;
    ASSERT_TRUE(MqoLineBinarySize(line, size));
    EXPECT_EQ(size, 3u);
    ASSERT_TRUE(reader.TakeBytes(size, bytes));
    EXPECT_EQ(bytes, "{}\n");
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line, "four");
    EXPECT_EQ(reader.LineNumber(), 6u);  // the line end inside the binary run counts
    EXPECT_FALSE(reader.NextLine(line));
    EXPECT_FALSE(reader.TakeBytes(1, bytes));

    EXPECT_TRUE(MqoLineOpensChunk("Object \"\x83\x7B\" {  "));
    EXPECT_FALSE(MqoLineOpensChunk("Object \"\x83\x7B\""));
    EXPECT_FALSE(MqoLineBinarySize("\"ArmA[]\"", size));
    EXPECT_TRUE(MqoNameEquals("bvertex", "BVertex"));
}
