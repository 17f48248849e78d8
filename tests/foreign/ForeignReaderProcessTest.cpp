#include "foreign/ForeignReaderProcess.h"
#include "foreign/ForeignRecords.h"
#include "support/ForeignSamples.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace m3d;

namespace {

// A stand-in for the reader program: a script that does what body says.
class StandInReader {
public:
    explicit StandInReader(const std::string& body)
    {
        folder.Write("reader", "#!/bin/sh\n" + body + "\n");
        std::filesystem::permissions(folder.File("reader"), std::filesystem::perms::owner_all);
        previous = ForeignReaderProgram();
        SetForeignReaderProgram(folder.File("reader"));
    }
    ~StandInReader() { SetForeignReaderProgram(previous); }
    TempFolder folder;

private:
    std::string previous;
};

ChildLimits Quick()
{
    ChildLimits limits = ForeignReadLimits();
    limits.wallMilliseconds = 2000;
    return limits;
}

}  // namespace

TEST(ForeignReaderProcessTest, AReaderThatFailsInAnyWayBecomesOneMessageNamingTheFile)
{
    ForeignModel model;
    {
        StandInReader crashing("kill -SEGV $$");
        const Outcome crashed = ReadForeignModelInChild("/models/robot.fbx", model, Quick());
        EXPECT_EQ(crashed.Message().rfind("/models/robot.fbx: the reader crashed", 0), 0u) << crashed.Message();
    }
    {
        StandInReader hanging("exec sleep 30");
        ChildLimits limits = Quick();
        limits.wallMilliseconds = 300;
        const Outcome hung = ReadForeignModelInChild("/models/robot.fbx", model, limits);
        EXPECT_NE(hung.Message().find("took longer than"), std::string::npos) << hung.Message();
    }
    {
        StandInReader refusing("echo '/models/robot.fbx: no meshes in the file' >&2; exit 1");
        EXPECT_EQ(ReadForeignModelInChild("/models/robot.fbx", model, Quick()).Message(),
                  "/models/robot.fbx: no meshes in the file");
    }
    {
        StandInReader garbling("printf 'M3DMODEL junk'");
        const Outcome garbled = ReadForeignModelInChild("/models/robot.fbx", model, Quick());
        EXPECT_EQ(garbled.Message().rfind("/models/robot.fbx: byte ", 0), 0u) << garbled.Message();
    }
    {
        StandInReader flooding("exec cat /dev/zero");
        ChildLimits limits = Quick();
        limits.outputBytes = 1 << 20;
        EXPECT_NE(ReadForeignModelInChild("/models/robot.fbx", model, limits).Message().find("too large"),
                  std::string::npos);
    }
    EXPECT_TRUE(model.nodes.empty());
}

TEST(ForeignReaderProcessTest, AReaderBlowingUpItsMemoryIsStoppedAtTheLimit)
{
    if (BuiltWithAddressSanitizer()) GTEST_SKIP() << "the sanitizer's reservations leave no room for a memory limit";
    StandInReader greedy("exec python3 -c 'x = bytearray(8 << 30)'");
    ChildLimits limits = Quick();
    limits.memoryBytes = uint64_t(512) << 20;
    ForeignModel model;
    const Outcome stopped = ReadForeignModelInChild("/models/robot.fbx", model, limits);
    EXPECT_NE(stopped.Message().find("MemoryError"), std::string::npos) << stopped.Message();
}

TEST(ForeignReaderProcessTest, RecordsComeBackThroughTheRealProgram)
{
    TempFolder folder;
    folder.Write("records.bin", EncodeForeignModel(ArmModel()));
    ForeignModel model;
    {
        StandInReader replaying("cat '" + folder.File("records.bin") + "'");
        ASSERT_TRUE(Succeeded(ReadForeignModelFile("/models/arm.glb", 2.0f, model)));
        // Mirrored into the editor's space and scaled.
        EXPECT_EQ(model.nodes[0].translation, (Vec3{1, 2, -3} * 2.0f));
    }
    // The command-line program refuses a file of no foreign format in its own words.
    SetForeignReaderProgram(M3D_CLI_PATH);
    const Outcome refused = ReadForeignModelInChild(folder.File("records.bin"), model);
    EXPECT_EQ(refused.Message(), folder.File("records.bin") + ": not a model format that can be read");
}
