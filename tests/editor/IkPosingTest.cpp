#include "editor/CommandHost.h"
#include "editor/CommandRegistry.h"
#include "editor/CommandState.h"
#include "editor/MotionCommands.h"
#include "editor/MouseTestScene.h"
#include "scene/Motion.h"
#include "support/MatrixMatchers.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

using namespace m3d;

namespace {

class NoDialogs : public CommandHost {
public:
    UserPrompt& Prompt() override { return prompt; }
    ScriptedPrompt prompt;
};

// A shoulder at the top level, an upper arm 40 units along +X, a forearm
// and a hand, seen in the Front view (2).
struct Arm : MouseScene {
    Arm()
    {
        shoulder = Add({0, 0, 0}, 3);
        upper = Add({40, 0, 0}, 3, shoulder);
        fore = Add({40, 0, 0}, 3, upper);
        hand = Add({20, 30, 0}, 3, fore);
        // Bent at the elbow, which is below the line from the upper arm to the hand.
        scene.Parts()[size_t(fore)]->localPosition = {20, -30, 0};
        scene.Parts()[size_t(fore)]->localMatrix.SetTranslation({20, -30, 0});
        scene.UpdateHierarchy(0);
        session.History().Clear();
        session.Ik().SetEnabled(true);
    }
    std::pair<int, int> Pixel(Vec3 point) const
    {
        const PixelPoint p = *session.Views().PixelOf(2, point);
        return {int(std::lround(p.x)), int(std::lround(p.y))};
    }
    // Drags Part part's pivot by offset (world units) in the Front view, released or not.
    void DragPart(int part, Vec3 offset, bool release = true)
    {
        const Vec3 pivot = WorldPosition(scene, part);
        const auto [x, y] = Pixel(pivot);
        const auto [toX, toY] = Pixel(pivot + offset);
        mouse.LeftButtonDown(x, y);
        mouse.MouseMove(toX, toY, MouseKey::Left);
        if (release) mouse.LeftButtonUp(toX, toY);
    }
    std::vector<Vec3> Pivots() const
    {
        std::vector<Vec3> pivots;
        for (int i = 0; i < scene.PartCount(); ++i) pivots.push_back(WorldPosition(scene, i));
        return pivots;
    }
    int shoulder = -1, upper = -1, fore = -1, hand = -1;
};

TEST(IkPosing, DraggingTheHandBringsItsPivotUnderThePointerTurningOnlyTheTwoPartsAbove)
{
    Arm s;
    const std::vector<Vec3> before = s.Pivots();
    const Matrix4 shoulder = s.scene.Parts()[size_t(s.shoulder)]->localMatrix;
    const auto [x, y] = s.Pixel(before[size_t(s.hand)]);
    const auto [toX, toY] = s.Pixel(before[size_t(s.hand)] + Vec3{-10, 12, 0});
    s.mouse.LeftButtonDown(x, y);
    EXPECT_EQ(s.mouse.Mode(), DragMode::Ik);
    s.mouse.MouseMove(toX, toY, MouseKey::Left);
    s.mouse.LeftButtonUp(toX, toY);

    const Vec3 reached = WorldPosition(s.scene, s.hand);
    const auto [hx, hy] = s.Pixel(reached);
    EXPECT_LE(std::abs(hx - toX) + std::abs(hy - toY), 1);
    EXPECT_NEAR(reached.z, before[size_t(s.hand)].z, 1e-3f);
    // The shoulder and the upper arm's pivot stay; the upper arm and forearm turned.
    EXPECT_EQ(std::memcmp(&s.scene.Parts()[size_t(s.shoulder)]->localMatrix, &shoulder, sizeof(Matrix4)), 0);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.upper), before[size_t(s.upper)], 1e-4f));
    // The elbow kept its side of the line from the upper arm's pivot to the hand.
    const auto side = [&](Vec3 elbow, Vec3 end) {
        const Vec3 root = before[size_t(s.upper)];
        return (end.x - root.x) * (elbow.y - root.y) - (end.y - root.y) * (elbow.x - root.x);
    };
    EXPECT_LT(side(before[size_t(s.fore)], before[size_t(s.hand)]), 0.0f);
    EXPECT_LT(side(WorldPosition(s.scene, s.fore), reached), 0.0f);
    EXPECT_EQ(s.Pushes(), 1);
    EXPECT_EQ(s.session.Ik().LastDragParts(), (std::vector<int>{s.upper, s.fore}));

    s.session.History().Undo();
    for (int i = 0; i < s.scene.PartCount(); ++i)
        EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, i), before[size_t(i)], 0)) << i;
}

TEST(IkPosing, CancelRestoresThePoseAndTheWheelChangesTheChainDuringTheDrag)
{
    Arm s;
    const std::vector<Vec3> before = s.Pivots();
    const TrackPose shoulder = LocalPoseOf(s.scene)[size_t(s.shoulder)];
    // Beyond the forearm and upper arm's reach, within the whole arm's.
    s.DragPart(s.hand, {0, -70, 0}, false);
    EXPECT_TRUE(SameLocalPose(LocalPoseOf(s.scene)[size_t(s.shoulder)], shoulder));
    EXPECT_TRUE(s.mouse.Wheel(120));
    EXPECT_EQ(s.session.Ik().ChainLength(), 3);
    // Three Parts turn now: the shoulder too.
    EXPECT_FALSE(SameLocalPose(LocalPoseOf(s.scene)[size_t(s.shoulder)], shoulder));
    NoDialogs host;
    RunCommand(EditorCommand::CancelDrag, s.session, host);
    EXPECT_FALSE(s.session.Ik().Dragging());
    for (int i = 0; i < s.scene.PartCount(); ++i)
        EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, i), before[size_t(i)], 0)) << i;
    s.mouse.LeftButtonUp(0, 0);
    EXPECT_EQ(s.Pushes(), 0);
    EXPECT_FALSE(s.mouse.Wheel(120));
    s.session.Ik().SetChainLength(0);
    EXPECT_EQ(s.session.Ik().ChainLength(), 1);
}

TEST(IkPosing, APinnedHandHoldsWhileTheShoulderMovesAndTheMovedPartsAreKeyed)
{
    Arm s;
    ASSERT_TRUE(NewMotionCommand(s.session, "walk"));
    s.session.SetCurrentFrame(10);
    s.session.Ik().SetPinned(s.hand, true);
    const Vec3 hand = WorldPosition(s.scene, s.hand);
    s.DragPart(s.shoulder, {0, 8, 0});
    EXPECT_GT(WorldPosition(s.scene, s.shoulder).y, 1.0f);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.hand), hand, 1e-3f));
    EXPECT_EQ(s.session.Ik().LastDragParts(), (std::vector<int>{s.shoulder, s.upper, s.fore}));

    NoDialogs host;
    ASSERT_TRUE(CanRun(s.session, EditorCommand::KeyIkParts));
    RunCommand(EditorCommand::KeyIkParts, s.session, host);
    const Motion& motion = s.scene.Motions()[size_t(s.session.CurrentMotion())];
    for (int part = 0; part < s.scene.PartCount(); ++part)
        EXPECT_EQ(motion.tracks[size_t(part)].FindKey(10) >= 0, part != s.hand) << part;
    EXPECT_EQ(s.session.Ik().PinMarks().dots.at(0).points.size(), 1u);
}

}  // namespace
