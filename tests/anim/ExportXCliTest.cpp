#include "io/PathLookup.h"
#include "support/CliRun.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

const std::string kFigureProject = std::string(M3D_TEST_DATA_DIR) + "/../../examples/figure/figure.anm";

}  // namespace

TEST(ExportXCli, WritesTheSampleFigureWithItsTextureAndReportsCounts)
{
    TempFolder folder;
    const std::string out = folder.File("figure.x");
    const CliResult r =
        RunCli("export-x " + Quote(kFigureProject) + " " + Quote(out) + " --time-scale 100", folder.File("stderr.txt"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // walk: keys at 0, 10, 20, 30, 40; wave: 0, 10, 20, 30; 14 Parts each.
    const std::string skin = CanonicalPath(std::string(M3D_TEST_DATA_DIR) + "/../../examples/figure/figure_skin.png");
    EXPECT_EQ(r.out, "{\"written\":\"" + out + "\",\"parts\":14,\"motions\":2,\"animationKeys\":126," +
                         "\"imageSources\":[{\"file\":\"figure_skin.png\",\"texture\":\"figure_skin.png\","
                         "\"source\":\"" +
                         skin + "\",\"outsideFolders\":false}],\"textureProblems\":[]}\n");
    const std::string text = folder.Read("figure.x");
    EXPECT_NE(text.find("\r\n   3000;16;"), std::string::npos) << "a key at frame 30 with factor 100";
    EXPECT_TRUE(folder.Exists("figure_skin.png"));
}

TEST(ExportXCli, FailuresAreOneLineNamingTheFile)
{
    TempFolder folder;
    const std::string err = folder.File("stderr.txt");
    const std::string unwritable = folder.File("missing folder/out.x");
    CliResult r = RunCli("export-x " + Quote(kFigureProject) + " " + Quote(unwritable), err);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(unwritable), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;

    const std::string noProject = folder.File("none.anm");
    r = RunCli("export-x " + Quote(noProject) + " " + Quote(folder.File("out.x")), err);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(noProject), std::string::npos) << r.err;
    EXPECT_FALSE(folder.Exists("out.x"));

    for (const char* scale : {"0", "1001", "x"}) {
        r = RunCli("export-x " + Quote(kFigureProject) + " " + Quote(folder.File("out.x")) + " --time-scale " + scale,
                   err);
        EXPECT_EQ(r.exitCode, 2) << scale;
    }
    EXPECT_FALSE(folder.Exists("out.x"));
}
