#include "scene/RecoverySnapshot.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

#include <memory>

using namespace m3d;

namespace {

DocumentSnapshot TwoPartSnapshot()
{
    DocumentSnapshot snapshot;
    snapshot.info = {"123-456-abcdef01", "00ff00ff00ff00ff", "/home/a/robot.anm", "robot.anm", 1765380000, 2, 1, 345,
                     1765370000123456789};
    snapshot.project = std::string("project\0bytes", 13);
    snapshot.extras = "{}";
    snapshot.meshes = {std::make_shared<const std::string>("mesh one"), std::make_shared<const std::string>("two")};
    snapshot.parts = {{1, "/home/a"}, {-1, ""}};
    return snapshot;
}

}  // namespace

TEST(RecoverySnapshot, RoundTripsAndTheInfoReadsFromTheHeadAlone)
{
    const DocumentSnapshot snapshot = TwoPartSnapshot();
    const std::string bytes = EncodeSnapshot(snapshot);
    DocumentSnapshot read;
    ASSERT_TRUE(Succeeded(DecodeSnapshot(bytes, "s", read)));
    EXPECT_EQ(read.info.writer, snapshot.info.writer);
    EXPECT_EQ(read.info.originalPath, "/home/a/robot.anm");
    EXPECT_EQ(read.info.savedAt, 1765380000);
    EXPECT_EQ(read.info.originalModified, 1765370000123456789);
    EXPECT_EQ(read.info.originalSize, 345);
    EXPECT_EQ(read.project, snapshot.project);
    EXPECT_EQ(read.extras, "{}");
    ASSERT_EQ(read.meshes.size(), 2u);
    EXPECT_EQ(*read.meshes[1], "two");
    ASSERT_EQ(read.parts.size(), 2u);
    EXPECT_EQ(read.parts[0].mesh, 1);
    EXPECT_EQ(read.parts[0].textureFolder, "/home/a");
    EXPECT_EQ(read.parts[1].mesh, -1);

    // The head ends inside the project: the info is all there is to read.
    SnapshotInfo info;
    ASSERT_TRUE(Succeeded(DecodeSnapshotInfo(bytes.substr(0, bytes.find("project") + 3), "s", info)));
    EXPECT_EQ(info.documentId, "00ff00ff00ff00ff");
    EXPECT_EQ(info.parts, 2);
}

TEST(RecoverySnapshot, EveryPrefixAFlippedByteAnotherVersionAndTrailingBytesAreRefused)
{
    const std::string bytes = EncodeSnapshot(TwoPartSnapshot());
    DocumentSnapshot read;
    for (size_t n = 0; n < bytes.size(); ++n) {
        // A copy of its own, so that the address sanitizer sees a read past the prefix.
        const std::unique_ptr<char[]> prefix(new char[n + 1]);
        std::copy(bytes.begin(), bytes.begin() + long(n), prefix.get());
        EXPECT_FALSE(DecodeSnapshot(std::string_view(prefix.get(), n), "s", read).Ok()) << n;
    }
    for (size_t at = 12; at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = char(damaged[at] ^ 0x20);
        EXPECT_FALSE(DecodeSnapshot(damaged, "s", read).Ok()) << at;
    }
    std::string version = bytes;
    version[8] = 2;
    EXPECT_NE(DecodeSnapshot(version, "s", read).Message().find("version 2"), std::string::npos);
    EXPECT_NE(DecodeSnapshot(bytes + "x", "s", read).Message().find("after the last section"), std::string::npos);
}
