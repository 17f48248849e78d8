#include "scene/ProjectFileFormat.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace m3d;

namespace {

// Little-endian bytes written out by hand, independent of the writer.
std::string I32(uint32_t v)
{
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}
const std::string kZero4("\0\0\0\0", 4);
const std::string kOne("\0\0\x80\x3f", 4);         // 1.0f
const std::string kTwoAndHalf("\0\0\x20\x40", 4);  // 2.5f
const std::string kMinusOne("\0\0\x80\xbf", 4);    // -1.0f

// A key: frame, then an identity rotation and the given translation row.
std::string KeyBytes(uint32_t frame, const std::string& x = kZero4, const std::string& y = kZero4,
                     const std::string& z = kZero4)
{
    return I32(frame) + kOne + kZero4 + kZero4 + kZero4 + kZero4 + kOne + kZero4 + kZero4 + kZero4 + kZero4 + kOne +
           kZero4 + x + y + z + kOne;
}

Matrix4 Translated(float x, float y, float z)
{
    Matrix4 m;
    m.SetTranslation({x, y, z});
    return m;
}

// Parts of 3, 4 and 5 bytes; a Motion with an extra key and one with a Japanese name.
struct GoldenProject {
    std::vector<ProjectPartRecord> parts{{"abc", -1, 2}, {"abcd", 0, -1}, {"abcde", -1, 0}};
    std::vector<Motion> motions;
    std::string bytes;

    GoldenProject()
    {
        Motion walk;
        walk.name = "walk";
        walk.length = 60;
        walk.tracks.resize(3);
        for (auto& track : walk.tracks) track.keys.push_back({0, Matrix4()});
        walk.tracks[1].keys.push_back({10, Translated(2.5f, 0, -1)});
        Motion japanese;
        japanese.name = "歩く";
        japanese.length = 30;
        japanese.tracks.resize(3);
        for (auto& track : japanese.tracks) track.keys.push_back({0, Matrix4()});
        japanese.tracks[2].keys[0].matrix = Translated(0, 1, 0);
        motions = {walk, japanese};

        bytes = std::string("Marionettica3Dv1.00") + std::string(13, '\0') + I32(3);
        bytes += I32(4) + std::string("abc\0", 4) + I32(0xFFFFFFFF) + I32(2);
        bytes += I32(4) + "abcd" + I32(0) + I32(0xFFFFFFFF);  // no terminator: the name fills its field
        bytes += I32(8) + std::string("abcde\0\0\0", 8) + I32(0xFFFFFFFF) + I32(0);
        bytes += I32(2);
        bytes += "walk" + std::string(16, '\0') + I32(60);
        bytes += I32(1) + KeyBytes(0);
        bytes += I32(2) + KeyBytes(0) + KeyBytes(10, kTwoAndHalf, kZero4, kMinusOne);
        bytes += I32(1) + KeyBytes(0);
        bytes += std::string("\x95\xE0\x82\xAD") + std::string(16, '\0') + I32(30);
        bytes += I32(1) + KeyBytes(0);
        bytes += I32(1) + KeyBytes(0);
        bytes += I32(1) + KeyBytes(0, kZero4, kOne, kZero4);
    }
};

// Offsets in the golden file.
constexpr size_t kPartsStart = 36;
constexpr size_t kPart1Parent = kPartsStart + 16 + 8;
constexpr size_t kPart2Partner = kPartsStart + 16 + 16 + 4 + 8 + 4;
constexpr size_t kMotionCount = kPartsStart + 16 + 16 + 20;
constexpr size_t kWalkName = kMotionCount + 4;
constexpr size_t kWalkLength = kWalkName + 20;
constexpr size_t kWalkTrack1 = kWalkLength + 4 + 4 + 68;

void Put(std::string& bytes, size_t offset, const std::string& value) { bytes.replace(offset, value.size(), value); }

// Parses bytes from an allocation of exactly their size, so any read past the
// end is an overread the address sanitizer reports.
Outcome ParseExact(const std::string& bytes, ProjectData& out)
{
    std::unique_ptr<char[]> copy(new char[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
    return ParseProjectFile(std::string_view(copy.get(), bytes.size()), "p.anm", out);
}

std::string ExpectRefused(const std::string& bytes)
{
    ProjectData data;
    Outcome outcome;
    EXPECT_FALSE((outcome = ParseExact(bytes, data)));
    EXPECT_EQ(outcome.Message().rfind("p.anm: byte ", 0), 0u) << outcome.Message();
    return outcome.Message();
}

}  // namespace

TEST(ProjectFileFormat, WriterLaysOutNamesCountsAndKeysByteForByte)
{
    GoldenProject golden;
    const Expected<std::string> built = BuildProjectFile(golden.parts, golden.motions);
    ASSERT_TRUE(Succeeded(built));
    const std::string& bytes = *built;
    ASSERT_EQ(bytes.size(), golden.bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], golden.bytes[i]) << "byte " << i;
}

TEST(ProjectFileFormat, ReaderGetsEverythingBackIncludingAFourByteNameWithoutTerminator)
{
    GoldenProject golden;
    ProjectData data;
    ASSERT_TRUE(Succeeded(ParseExact(golden.bytes, data)));
    ASSERT_EQ(data.parts.size(), 3u);
    EXPECT_EQ(data.parts[0].baseName, "abc");
    EXPECT_EQ(data.parts[1].baseName, "abcd");
    EXPECT_EQ(data.parts[2].baseName, "abcde");
    EXPECT_EQ(data.parts[1].parentIndex, 0);
    EXPECT_EQ(data.parts[0].symmetryIndex, 2);
    EXPECT_EQ(data.parts[2].symmetryIndex, 0);
    ASSERT_EQ(data.motions.size(), 2u);
    EXPECT_EQ(data.motions[1].name, "歩く");
    EXPECT_EQ(data.motions[1].length, 30);
    ASSERT_EQ(data.motions[0].tracks[1].keys.size(), 2u);
    EXPECT_EQ(data.motions[0].tracks[1].keys[1].frame, 10);
    EXPECT_EQ(data.motions[0].tracks[1].keys[1].matrix, Translated(2.5f, 0, -1));
    EXPECT_EQ(data.motions[1].tracks[2].keys[0].matrix, Translated(0, 1, 0));
}

TEST(ProjectFileFormat, HeaderBytesAreNotExamined)
{
    GoldenProject golden;
    for (size_t i = 0; i < 32; ++i) golden.bytes[i] = char(0xA5 ^ i);
    ProjectData data;
    EXPECT_TRUE(Succeeded(ParseExact(golden.bytes, data)));
}

TEST(ProjectFileFormat, EveryTruncatedPrefixIsRefused)
{
    GoldenProject golden;
    for (size_t length = 0; length < golden.bytes.size(); ++length) {
        ProjectData data;
        Outcome outcome;
        ASSERT_FALSE((outcome = ParseExact(golden.bytes.substr(0, length), data))) << "prefix " << length;
        ASSERT_FALSE(outcome.Message().empty());
    }
}

TEST(ProjectFileFormat, TrailingBytesAreRefused)
{
    GoldenProject golden;
    EXPECT_NE(ExpectRefused(golden.bytes + '\0').find("byte " + std::to_string(golden.bytes.size())),
              std::string::npos);
}

TEST(ProjectFileFormat, LinksMustNameExistingRecords)
{
    GoldenProject golden;
    std::string bytes = golden.bytes;
    Put(bytes, kPart1Parent, I32(1));  // itself
    EXPECT_NE(ExpectRefused(bytes).find("byte " + std::to_string(kPart1Parent)), std::string::npos);
    Put(bytes, kPart1Parent, I32(2));  // a later record
    ExpectRefused(bytes);
    Put(bytes, kPart1Parent, I32(uint32_t(-2)));
    ExpectRefused(bytes);

    bytes = golden.bytes;
    Put(bytes, kPart2Partner, I32(3));
    EXPECT_NE(ExpectRefused(bytes).find("partner 3 of Part 2"), std::string::npos);
    Put(bytes, kPart2Partner, I32(uint32_t(-5)));
    ExpectRefused(bytes);
    Put(bytes, kPart2Partner, I32(2));  // its own partner: allowed, as the symmetry table allows it
    ProjectData data;
    EXPECT_TRUE(Succeeded(ParseExact(bytes, data)));
}

TEST(ProjectFileFormat, CountsMustBeNonNegativeAndFitTheFile)
{
    GoldenProject golden;
    std::string bytes = golden.bytes;
    Put(bytes, 32, I32(uint32_t(-1)));
    EXPECT_NE(ExpectRefused(bytes).find("byte 32: negative Part count"), std::string::npos);
    Put(bytes, 32, I32(0x7FFFFFFF));
    EXPECT_NE(ExpectRefused(bytes).find("does not fit"), std::string::npos);

    bytes = golden.bytes;
    Put(bytes, kMotionCount, I32(0x10000000));
    ExpectRefused(bytes);
    Put(bytes, kMotionCount, I32(0x80000000));
    ExpectRefused(bytes);

    bytes = golden.bytes;
    Put(bytes, kWalkTrack1, I32(0x7FFFFFFF));
    EXPECT_NE(ExpectRefused(bytes).find("byte " + std::to_string(kWalkTrack1)), std::string::npos);
}

TEST(ProjectFileFormat, PartNamesMustBePlainFileNamesOfAtMost259Bytes)
{
    const auto fileWithName = [](uint32_t field, const std::string& name) {
        std::string bytes =
            std::string(32, 'h') + I32(1) + I32(field) + name + I32(0xFFFFFFFF) + I32(0xFFFFFFFF) + I32(0);
        return bytes;
    };
    ProjectData data;
    Outcome outcome;
    EXPECT_TRUE(Succeeded(ParseExact(fileWithName(260, std::string(259, 'n') + '\0'), data)));
    EXPECT_EQ(data.parts[0].baseName.size(), 259u);
    EXPECT_NE(ExpectRefused(fileWithName(260, std::string(260, 'n'))).find("longer than 259"), std::string::npos);
    EXPECT_NE(ExpectRefused(fileWithName(264, std::string(264, 'n'))).find("byte 36:"), std::string::npos);
    ExpectRefused(fileWithName(uint32_t(-4), ""));
    // A length that is not a multiple of 4 still names the bytes of the name.
    EXPECT_TRUE(Succeeded(ParseExact(fileWithName(3, "abc"), data)));
    EXPECT_EQ(data.parts[0].baseName, "abc");
    EXPECT_TRUE(Succeeded(ParseExact(fileWithName(0, ""), data)));
    EXPECT_EQ(data.parts[0].baseName, "");

    for (const char* bad : {"a/bc", "..ab", "ab\x01x", "tab\tx", "\x7f"}) {
        std::string name(bad);
        name.resize((name.size() + 3) / 4 * 4, '\0');
        EXPECT_NE(ExpectRefused(fileWithName(uint32_t(name.size()), name)).find("Part 0"), std::string::npos) << bad;
    }
    // 0x5C is what earlier versions stored for a typed ¥: it names the file
    // of the full-width yen, never a folder.
    EXPECT_TRUE(Succeeded(ParseExact(fileWithName(4, "a\\bc"), data)));
    EXPECT_EQ(data.parts[0].baseName, "a￥bc");
    // A second Shift-JIS byte of 0x5C is part of a character, not a separator.
    EXPECT_TRUE((outcome = ParseExact(fileWithName(4,
                                                   "\x95\x5C"
                                                   "ab"),
                                      data)))
        << outcome.Message();
    EXPECT_EQ(data.parts[0].baseName, "表ab");
    ExpectRefused(fileWithName(4, std::string("\x81\x20\0\0", 4)));  // not Shift-JIS
}

TEST(ProjectFileFormat, MotionNamesMustBeTerminatedNonEmptyShortAndUnique)
{
    GoldenProject golden;
    std::string bytes = golden.bytes;
    Put(bytes, kWalkName, std::string(20, 'w'));
    EXPECT_NE(ExpectRefused(bytes).find("byte " + std::to_string(kWalkName) + ": name of Motion 0 has no terminating"),
              std::string::npos);
    Put(bytes, kWalkName, std::string(17, 'w') + std::string(3, '\0'));
    EXPECT_NE(ExpectRefused(bytes).find("longer than 16"), std::string::npos);
    Put(bytes, kWalkName, std::string(20, '\0'));
    EXPECT_NE(ExpectRefused(bytes).find("empty"), std::string::npos);
    Put(bytes, kWalkName, std::string("\x95\xE0\x82\xAD") + std::string(16, '\0'));
    EXPECT_NE(ExpectRefused(bytes).find("used twice"), std::string::npos);
    // Bytes after the terminator carry no meaning.
    Put(bytes, kWalkName, std::string("run\0garbage-here!!\x01\x02", 20));
    ProjectData data;
    ASSERT_TRUE(Succeeded(ParseExact(bytes, data)));
    EXPECT_EQ(data.motions[0].name, "run");
}

TEST(ProjectFileFormat, LengthsOutsideTheEditorsRangeAreRefused)
{
    GoldenProject golden;
    std::string bytes = golden.bytes;
    for (uint32_t length : {0u, uint32_t(-60), 10000u}) {
        Put(bytes, kWalkLength, I32(length));
        EXPECT_NE(ExpectRefused(bytes).find("byte " + std::to_string(kWalkLength)), std::string::npos) << length;
    }
}

TEST(ProjectFileFormat, TracksNeedAFrameZeroKeyAndDistinctFrames)
{
    GoldenProject golden;
    const size_t key0 = kWalkTrack1 + 4;
    const size_t key1 = key0 + 68;
    std::string bytes = golden.bytes;
    Put(bytes, key0, I32(3));  // keys 3 and 10: no frame 0
    EXPECT_NE(ExpectRefused(bytes).find("no key at frame 0"), std::string::npos);
    Put(bytes, key0, I32(10));  // two keys at 10
    EXPECT_NE(ExpectRefused(bytes).find("two keys at frame 10"), std::string::npos);
    Put(bytes, key0, I32(uint32_t(-1)));
    EXPECT_NE(ExpectRefused(bytes).find("byte " + std::to_string(key0)), std::string::npos);

    // Keys out of order are put in order, matrices travelling with their frames.
    bytes = golden.bytes;
    Put(bytes, key0, KeyBytes(10, kTwoAndHalf, kZero4, kMinusOne));
    Put(bytes, key1, KeyBytes(0));
    ProjectData data;
    ASSERT_TRUE(Succeeded(ParseExact(bytes, data)));
    EXPECT_EQ(data.motions[0].tracks[1].keys[0].frame, 0);
    EXPECT_EQ(data.motions[0].tracks[1].keys[0].matrix, Matrix4());
    EXPECT_EQ(data.motions[0].tracks[1].keys[1].matrix, Translated(2.5f, 0, -1));

    // A key past the length is kept: the editor itself can store one there.
    Put(bytes, key0, KeyBytes(500));
    ASSERT_TRUE(Succeeded(ParseExact(bytes, data)));
    EXPECT_EQ(data.motions[0].tracks[1].keys[1].frame, 500);

    bytes = golden.bytes;
    Put(bytes, kWalkTrack1, I32(0));
    EXPECT_NE(ExpectRefused(bytes).find("no keys"), std::string::npos);
    // Without the bytes of its keys the file cannot hold its Motions at all.
    bytes.erase(kWalkTrack1 + 4, 2 * 68);
    EXPECT_NE(ExpectRefused(bytes).find("Motion count 2 does not fit"), std::string::npos);
}

TEST(ProjectFileFormat, NonFiniteMatrixValuesAreRefused)
{
    GoldenProject golden;
    std::string bytes = golden.bytes;
    const size_t value = kWalkTrack1 + 4 + 4 + 5 * 4;
    Put(bytes, value, I32(0x7FC00000));  // NaN
    EXPECT_NE(ExpectRefused(bytes).find("byte " + std::to_string(value) + ":"), std::string::npos);
    Put(bytes, value, I32(0x7F800000));  // infinity
    ExpectRefused(bytes);
}

TEST(ProjectFileFormat, WriterRefusesWhatTheReaderWouldRefuse)
{
    GoldenProject golden;
    golden.parts[1].baseName = std::string(260, 'x');
    const Expected<std::string> longName = BuildProjectFile(golden.parts, golden.motions);
    EXPECT_FALSE(longName);
    EXPECT_NE(longName.Message().find("Part 1"), std::string::npos);
    golden.parts[1].baseName = "\xF0\x9F\x98\x80";  // no Shift-JIS form
    EXPECT_FALSE(BuildProjectFile(golden.parts, golden.motions));

    GoldenProject other;
    other.motions[1].name = "あいうえおかきくけ";  // 18 bytes
    const Expected<std::string> longMotionName = BuildProjectFile(other.parts, other.motions);
    EXPECT_FALSE(longMotionName);
    EXPECT_NE(longMotionName.Message().find("Motion 1"), std::string::npos);
    other.motions[1].name = "ok";
    other.motions[1].tracks.pop_back();
    EXPECT_FALSE(BuildProjectFile(other.parts, other.motions));
}
