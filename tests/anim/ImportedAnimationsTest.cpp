#include "anim/ImportedAnimations.h"
#include "support/CliRun.h"
#include "support/ForeignSamples.h"
#include "support/TakesGltf.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace m3d;
using nlohmann::json;

// A file written with one take per object and action: beside the real
// actions, takes whose keys hold the rest pose, a take with no keys, and a
// take that repeats another's keys on the same nodes. One that differs from
// another only in when the hand steps is an action of its own.
TEST(ImportedAnimations, ATakePerObjectAndActionFileOffersItsRealActionsOnce)
{
    ForeignModel model = ArmModel();  // Parts: 0 the shoulder, 1 the hand (the joint folds into it)
    const ForeignAnimation wave = model.animations[0];
    const Quaternion rest = model.nodes[0].rotation;
    model.animations.push_back({"shoulder|still",
                                {{0,
                                  ForeignPath::Rotation,
                                  ForeignInterpolation::Linear,
                                  {0, 1},
                                  {rest.x, rest.y, rest.z, rest.w, rest.x, rest.y, rest.z, rest.w}}}});
    model.animations.push_back({"hand|wave", wave.channels});
    model.animations.push_back(
        {"hand|lift", {{2, ForeignPath::Translation, ForeignInterpolation::Linear, {0, 1}, {0, 1, 0, 0, 3, 0}}}});
    model.animations.push_back({"empty", {}});
    ForeignAnimation late = wave;
    late.name = "wave late";
    late.channels[1].times[1] = 0.6f;
    model.animations.push_back(late);

    const std::vector<ImportableAnimation> list = ImportableAnimations(model, 30, true);
    ASSERT_EQ(list.size(), 6u);
    std::vector<std::vector<int>> moved;
    std::vector<int> repeats, lengths;
    for (const ImportableAnimation& animation : list) {
        moved.push_back(animation.movedParts);
        repeats.push_back(animation.repeats);
        lengths.push_back(animation.length);
    }
    EXPECT_EQ(moved, (std::vector<std::vector<int>>{{0, 1}, {}, {0, 1}, {1}, {}, {0, 1}}));
    EXPECT_EQ(repeats, (std::vector<int>{-1, -1, 0, -1, -1, -1}));
    EXPECT_EQ(lengths, (std::vector<int>{30, 30, 30, 30, 1, 30}));
    EXPECT_EQ(OfferedAnimations(list), (std::vector<bool>{true, false, false, true, false, true}));
}

// The command line on a glTF of that kind (WriteTakesGltf).
TEST(ImportedAnimations, TheCommandLineImportsTheRealActionsOrThoseNamedFromTheirFirstKeys)
{
    TempFolder folder;
    const std::string model = Quote(WriteTakesGltf(folder));

    // The Motions made, their lengths, and which animations were chosen.
    struct Imported {
        std::vector<int> lengths;
        std::vector<bool> chosen;
    };
    auto import = [&](const std::string& options) {
        TempFolder out;
        const CliResult run = RunCli("import " + model + " " + Quote(out.File("lamp.anm")) + options, out.File("err"));
        EXPECT_EQ(run.exitCode, 0) << options << run.err;
        Imported result;
        if (run.exitCode != 0) return result;
        const json report = json::parse(run.out);
        for (const json& motion : report["motions"]) result.lengths.push_back(motion["length"].get<int>());
        for (const json& animation : report["animations"]) result.chosen.push_back(animation["chosen"].get<bool>());
        return result;
    };
    const Imported offered = import("");
    EXPECT_EQ(offered.chosen, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(offered.lengths, (std::vector<int>{30, 30}));  // "hop" from its first key
    // With the hold kept, "hop" ends 1.25 frames later.
    EXPECT_EQ(import(" --keep-leading-hold").lengths, (std::vector<int>{32, 30}));
    const Imported named = import(" --animations 'body|still,arm|hop'");
    EXPECT_EQ(named.chosen, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(named.lengths.size(), 2u);

    const CliResult unknown =
        RunCli("import " + model + " " + Quote(folder.File("x.anm")) + " --animations hop,jump", folder.File("err"));
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("no animation is named 'jump'"), std::string::npos) << unknown.err;
    EXPECT_FALSE(folder.Exists("x.anm"));
}
