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
        ModelRule rule;
        int motion, part, key;
        std::function<void(Scene&)> breakModel;
    };
    using R = ModelRule;
    const Case cases[] = {
        {"parent after its child", R::ParentBeforeChild, -1, 1, -1,
         [](Scene& s) { s.MutableParts()[1]->parentIndex = 2; }},
        {"parent is the Part itself", R::ParentBeforeChild, -1, 2, -1,
         [](Scene& s) { s.MutableParts()[2]->parentIndex = 2; }},
        {"parent below -1", R::ParentBeforeChild, -1, 0, -1, [](Scene& s) { s.MutableParts()[0]->parentIndex = -2; }},
        {"partner past the last Part", R::PartnerInRange, -1, 2, -1,
         [](Scene& s) { s.MutableParts()[2]->symmetryIndex = 3; }},
        {"partner below -1", R::PartnerInRange, -1, 1, -1, [](Scene& s) { s.MutableParts()[1]->symmetryIndex = -2; }},
        {"a track missing", R::OneTrackPerPart, 1, -1, -1, [](Scene& s) { s.MutableMotions()[1].tracks.pop_back(); }},
        {"a track too many", R::OneTrackPerPart, 0, -1, -1,
         [](Scene& s) { s.MutableMotions()[0].tracks.push_back(TrackWithKeysAt({0})); }},
        {"a track without keys", R::TrackHasKeys, 1, 2, -1,
         [](Scene& s) { s.MutableMotions()[1].tracks[2].keys.clear(); }},
        {"two keys at one frame", R::KeysAscending, 1, 1, 2,
         [](Scene& s) {
             s.MutableMotions()[1].tracks[1] = TrackWithKeysAt({0, 5, 5});
         }},
        {"keys out of order", R::KeysAscending, 0, 1, 2,
         [](Scene& s) {
             s.MutableMotions()[0].tracks[1] = TrackWithKeysAt({0, 7, 5});
         }},
        {"no key at frame 0", R::FirstKeyAtFrameZero, 0, 2, 0,
         [](Scene& s) {
             s.MutableMotions()[0].tracks[2] = TrackWithKeysAt({3, 5});
         }},
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
