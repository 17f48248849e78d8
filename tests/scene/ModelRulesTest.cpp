#include "scene/ModelRules.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <functional>

using namespace m3d;

namespace {

MotionTrack TrackWithKeysAt(std::initializer_list<int> frames)
{
    MotionTrack track;
    for (int frame : frames) track.keys.push_back({frame, Matrix4()});
    return track;
}

// Three Parts (1 and 2 children of 0; 0 its own partner, 1 naming 2 without
// a link back, both of which the symmetry table allows) and two Motions
// whose Part-1 tracks hold keys at 0 and 5.
void BuildValidModel(Scene& scene)
{
    for (int i = 0; i < 3; ++i) scene.MutableParts().push_back(std::make_unique<Part>());
    scene.MutableParts()[1]->parentIndex = 0;
    scene.MutableParts()[2]->parentIndex = 0;
    scene.MutableParts()[0]->symmetryIndex = 0;
    scene.MutableParts()[1]->symmetryIndex = 2;
    Motion motion;
    motion.tracks = {TrackWithKeysAt({0}), TrackWithKeysAt({0, 5}), TrackWithKeysAt({0})};
    scene.MutableMotions() = {motion, motion};
}

}  // namespace

TEST(ModelRules, EachBrokenRuleIsNamedAtItsPlace)
{
    {
        Scene scene;
        BuildValidModel(scene);
        EXPECT_EQ(DescribeViolations(Validate(scene)), "");
    }
    struct Case {
        const char* what;
        std::function<void(Scene&)> breakModel;
        ModelRule rule;
        int motion, part, key;
    };
    const Case cases[] = {
        {"parent after its child", [](Scene& s) { s.MutableParts()[1]->parentIndex = 2; }, ModelRule::ParentBeforeChild,
         -1, 1, -1},
        {"parent is the Part itself", [](Scene& s) { s.MutableParts()[2]->parentIndex = 2; },
         ModelRule::ParentBeforeChild, -1, 2, -1},
        {"parent below -1", [](Scene& s) { s.MutableParts()[0]->parentIndex = -2; }, ModelRule::ParentBeforeChild, -1, 0,
         -1},
        {"partner past the last Part", [](Scene& s) { s.MutableParts()[2]->symmetryIndex = 3; },
         ModelRule::PartnerInRange, -1, 2, -1},
        {"partner below -1", [](Scene& s) { s.MutableParts()[1]->symmetryIndex = -2; }, ModelRule::PartnerInRange, -1, 1,
         -1},
        {"a track missing", [](Scene& s) { s.MutableMotions()[1].tracks.pop_back(); }, ModelRule::OneTrackPerPart, 1,
         -1, -1},
        {"a track too many", [](Scene& s) { s.MutableMotions()[0].tracks.push_back(TrackWithKeysAt({0})); },
         ModelRule::OneTrackPerPart, 0, -1, -1},
        {"a track without keys", [](Scene& s) { s.MutableMotions()[1].tracks[2].keys.clear(); },
         ModelRule::TrackHasKeys, 1, 2, -1},
        {"two keys at one frame", [](Scene& s) { s.MutableMotions()[1].tracks[1] = TrackWithKeysAt({0, 5, 5}); },
         ModelRule::KeysAscending, 1, 1, 2},
        {"keys out of order", [](Scene& s) { s.MutableMotions()[0].tracks[1] = TrackWithKeysAt({0, 7, 5}); },
         ModelRule::KeysAscending, 0, 1, 2},
        {"no key at frame 0", [](Scene& s) { s.MutableMotions()[0].tracks[2] = TrackWithKeysAt({3, 5}); },
         ModelRule::FirstKeyAtFrameZero, 0, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene scene;
        BuildValidModel(scene);
        c.breakModel(scene);
        const std::vector<ModelViolation> violations = Validate(scene);
        ASSERT_EQ(violations.size(), 1u) << DescribeViolations(violations);
        EXPECT_EQ(violations[0].rule, c.rule);
        EXPECT_EQ(violations[0].motion, c.motion);
        EXPECT_EQ(violations[0].part, c.part);
        EXPECT_EQ(violations[0].key, c.key);
    }
    Scene scene;
    BuildValidModel(scene);
    scene.MutableMotions()[1].tracks[1] = TrackWithKeysAt({0, 7, 5});
    EXPECT_EQ(DescribeViolations(Validate(scene)),
              "Motion 1, Part 1, key 2: keys are not in strictly ascending frame order\n");
}
