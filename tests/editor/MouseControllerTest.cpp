#include "editor/MouseTestScene.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

namespace {

TEST(MouseSplits, TheBandIsWidenedByOnePixelOnEachSide)
{
    struct Case {
        int x, y;
        DragMode mode;
    } cases[] = {{397, 100, DragMode::VerticalSplit},
                 {401, 100, DragMode::VerticalSplit},
                 {396, 100, DragMode::None},
                 {402, 100, DragMode::None},
                 {100, 297, DragMode::HorizontalSplit},
                 {100, 301, DragMode::HorizontalSplit},
                 {100, 302, DragMode::None},
                 {399, 299, DragMode::BothSplits}};
    for (const Case& c : cases) {
        MouseScene s;
        s.mouse.LeftButtonDown(c.x, c.y);
        EXPECT_EQ(s.mouse.Mode(), c.mode) << c.x << ", " << c.y;
        EXPECT_TRUE(s.events.capture);
        s.mouse.LeftButtonUp(c.x, c.y);
        EXPECT_FALSE(s.events.capture);
    }
    // In single-view mode there is no band.
    MouseScene s;
    s.session.Views().fourViewMode = 0;
    s.mouse.LeftButtonDown(399, 299);
    EXPECT_EQ(s.mouse.Mode(), DragMode::None);
}

TEST(MouseSplits, DraggingTheCrossingStopsAtTheMargins)
{
    MouseScene s;
    s.mouse.LeftButtonDown(399, 299);
    EXPECT_FALSE(s.events.toolbarsVisible);
    s.mouse.MouseMove(-40, 700, MouseKey::Left);
    EXPECT_FLOAT_EQ(s.session.Views().splitX, 64.0f / 804.0f);
    EXPECT_FLOAT_EQ(s.session.Views().splitY, 536.0f / 600.0f);
    EXPECT_EQ(s.session.Views().views[1].rect.left, 63 + 1);
    EXPECT_EQ(s.events.layouts, 1);
    // The release point is clamped and stored again; the right margin leaves the frame width free.
    s.mouse.LeftButtonUp(5000, 10);
    EXPECT_FLOAT_EQ(s.session.Views().splitX, (804.0f - 3.0f - 64.0f) / 804.0f);
    EXPECT_FLOAT_EQ(s.session.Views().splitY, 64.0f / 600.0f);
    EXPECT_TRUE(s.events.toolbarsVisible);
    EXPECT_EQ(s.mouse.Mode(), DragMode::None);
    // The horizontal split alone leaves splitX.
    s.Drag(100, 64, 100, 200);
    EXPECT_FLOAT_EQ(s.session.Views().splitX, 737.0f / 804.0f);
    EXPECT_FLOAT_EQ(s.session.Views().splitY, 200.0f / 600.0f);
}

TEST(MouseViews, ThePressPicksTheViewWithItsEdgesIncluded)
{
    MouseScene s;
    s.mouse.LeftButtonDown(800, 600);  // the right and bottom edges of view 3
    EXPECT_EQ(s.session.Views().activeView, 3);
    s.mouse.LeftButtonDown(0, 0);
    EXPECT_EQ(s.session.Views().activeView, 0);
    s.mouse.LeftButtonDown(802, 10);  // beyond every view: unchanged
    EXPECT_EQ(s.session.Views().activeView, 0);
    s.session.Views().fourViewMode = 0;
    s.session.Views().maximisedView = 2;
    s.mouse.RightButtonDown(700, 500);
    EXPECT_EQ(s.session.Views().activeView, 2);
}

TEST(MouseMove, ShiftKeepsTheLongerScreenAxisOfTheTotalOffset)
{
    MouseScene s;
    const int part = s.Add({0, 0, 0});
    s.mouse.LeftButtonDown(kFrontX, kFrontY);
    EXPECT_EQ(s.mouse.Mode(), DragMode::Move);
    EXPECT_EQ(s.session.CurrentPart(), part);
    s.mouse.MouseMove(kFrontX + 10, kFrontY + 20, MouseKey::Left);
    s.mouse.MouseMove(kFrontX + 30, kFrontY + 20, MouseKey::Left | MouseKey::Shift);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {150, 0, 0}, 0));
    s.mouse.MouseMove(kFrontX + 30, kFrontY + 20, MouseKey::Left);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {150, -100, 0}, 0));
    // A tie keeps the vertical motion.
    s.mouse.MouseMove(kFrontX - 20, kFrontY + 20, MouseKey::Left | MouseKey::Shift);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {0, -100, 0}, 0));
    EXPECT_TRUE(VectorsNear(s.scene.Parts()[part]->localPosition, {0, -100, 0}, 0));
    EXPECT_TRUE(VectorsNear(s.session.TransformPanel().fields.absolutePosition, {0, -100, 0}, 0));
    s.mouse.LeftButtonUp(kFrontX - 20, kFrontY + 20);
    EXPECT_EQ(s.Pushes(), 1);
}

TEST(MouseMove, TheTopViewMovesAChildInItsParentsFrameAndBackToTheStartExactly)
{
    MouseScene s;
    const int parent = s.Add({0, 0, 0}, 5);
    s.scene.Parts()[parent]->localMatrix = MatrixRotationY(0.5f);
    s.scene.UpdateHierarchy(0);
    const int child = s.Add({3, 0, 0}, 1, parent);
    const Vec3 start = WorldPosition(s.scene, child);
    // An orthographic click that misses drags the selected Part.
    s.mouse.LeftButtonDown(300, 40);
    EXPECT_EQ(s.mouse.PickedPart(), -1);
    EXPECT_EQ(s.mouse.Mode(), DragMode::Move);
    s.mouse.MouseMove(304, 37, MouseKey::Left);
    // Top: right is +X, down is -Z, 5 units a pixel.
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, child), start + Vec3{20, 0, 15}, 1e-5f));
    const Matrix4 parentWorld = s.scene.WorldMatrixOf(parent);
    EXPECT_TRUE(VectorsNear(TransformPoint(s.scene.Parts()[child]->localPosition, parentWorld),
                            WorldPosition(s.scene, child), 1e-4f));
    s.mouse.MouseMove(300, 40, MouseKey::Left);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, child), start, 0));
    s.mouse.LeftButtonUp(300, 40);
    EXPECT_EQ(s.Pushes(), 0);  // back where it started: nothing to undo
}

TEST(MouseMove, ClicksAndMovesThatChangeNothingPushNoUndoStep)
{
    MouseScene s;
    // At the Pers view's target: the press there is inside its gizmo's free middle.
    s.Add({10, 0, 20}, 30);
    s.mouse.LeftButtonDown(kFrontX, kFrontY);
    s.mouse.LeftButtonUp(kFrontX, kFrontY);
    s.Drag(kFrontX, kFrontY, kFrontX, kFrontY);
    s.mouse.LeftButtonDown(kPersX, kPersY);
    EXPECT_EQ(s.mouse.Mode(), DragMode::Rotate);
    s.mouse.MouseMove(kPersX, kPersY, MouseKey::Left);
    s.mouse.MouseMove(kPersX, kPersY, MouseKey::Left);
    s.mouse.LeftButtonUp(kPersX, kPersY);
    EXPECT_EQ(s.Pushes(), 0);
    // A Pers click on nothing starts no drag and keeps the selection.
    s.mouse.LeftButtonDown(410, 5);
    EXPECT_EQ(s.mouse.Mode(), DragMode::None);
    EXPECT_EQ(s.session.CurrentPart(), 0);
}

TEST(MouseMove, LinkedPartnerGoesToTheMirroredPlace)
{
    MouseScene s;
    const int body = s.Add({0, 0, 0});
    const int partner = s.Add({-40, 7, 3});
    s.scene.Parts()[partner]->symmetryIndex = body;
    s.session.TransformPanel().linkLR = 1;
    s.Drag(kFrontX, kFrontY, kFrontX + 6, kFrontY - 2);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, body), {30, 10, 0}, 0));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, partner), {-30, 10, 0}, 0));
    EXPECT_TRUE(VectorsNear(s.scene.Parts()[partner]->localPosition, {-30, 10, 0}, 0));
}

Matrix4 Inverse(const Matrix4& m)
{
    Matrix4 out;
    EXPECT_TRUE(MatrixInverse(m, out));
    return out;
}

// Rotation about a unit axis by angle (radians) as checked through three vectors.
void ExpectTurnedAbout(const Matrix4& r, Vec3 axis, Vec3 from, Vec3 to)
{
    EXPECT_TRUE(VectorsNear(TransformNormal(axis, r), axis, 1e-5f));
    EXPECT_TRUE(VectorsNear(TransformNormal(from, r), to, 1e-5f));
}

TEST(MouseRotate, AVerticalDragTurnsAboutTheLevelAxisAcrossTheLineOfSight)
{
    MouseScene s;
    const int part = s.Add({10, 0, 20}, 20);
    s.mouse.LeftButtonDown(kPersX, kPersY);
    ASSERT_EQ(s.mouse.PickedPart(), part);
    s.mouse.MouseMove(kPersX, kPersY + 10, MouseKey::Left);
    // Eye (300, 200, -400) to the Part, levelled; its right is up x sight.
    const Vec3 sight = Normalize({-290, 0, 420});
    const Vec3 right = Normalize({420, 0, 290});
    const float angle = 10.0f * 360.0f / 298.0f * kDegreesToRadians;
    // Dragging down brings the Part's top towards the eye.
    const Vec3 up = Vec3{0, std::cos(angle), 0} - sight * std::sin(angle);
    const Matrix4 world = s.scene.WorldMatrixOf(part);
    ExpectTurnedAbout(world, right, {0, 1, 0}, up);
    EXPECT_TRUE(VectorsNear(world.Translation(), {10, 0, 20}, 0));
    s.mouse.LeftButtonUp(kPersX, kPersY + 10);
    EXPECT_EQ(s.Pushes(), 1);
}

TEST(MouseRotate, AViewWidthOfHorizontalMotionIsOneFullTurn)
{
    MouseScene s;
    const int parent = s.Add({10, 0, 20}, 20);
    const int partner = s.Add({-10, 0, 20}, 5);
    s.scene.Parts()[partner]->symmetryIndex = parent;
    s.session.TransformPanel().linkLR = 1;
    s.scene.Parts()[parent]->localMatrix = MatrixRotationX(0.3f);
    s.scene.UpdateHierarchy(0);
    const int child = s.Add({0, 0, 30}, 1, parent);
    const Matrix4 start = s.scene.WorldMatrixOf(child);

    s.mouse.LeftButtonDown(kPersX, kPersY);
    ASSERT_EQ(s.mouse.PickedPart(), parent);
    s.mouse.MouseMove(kPersX + 133, kPersY, MouseKey::Left);
    // A third of a turn to the right about the vertical: +Z goes towards -X.
    const float third = 133.0f * 360.0f / 399.0f * kDegreesToRadians;
    const Matrix4 turned = s.scene.WorldMatrixOf(parent);
    EXPECT_TRUE(VectorsNear(TransformNormal({0, 0, 1}, MatrixRotationX(-0.3f) * turned),
                            {-std::sin(third), 0, std::cos(third)}, 1e-5f));
    // The partner turns the mirrored way, the child rides along.
    EXPECT_TRUE(VectorsNear(TransformNormal({0, 0, 1}, MatrixRotationX(-0.3f) * s.scene.WorldMatrixOf(partner)),
                            {std::sin(third), 0, std::cos(third)}, 1e-5f));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, partner), {-10, 0, 20}, 0));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, child), TransformPoint({0, 0, 30}, turned), 1e-4f));

    s.mouse.MouseMove(kPersX + 266, kPersY, MouseKey::Left);
    s.mouse.MouseMove(kPersX + 399, kPersY, MouseKey::Left);
    EXPECT_TRUE(MatricesNear(s.scene.WorldMatrixOf(child), start, 1e-4f));
}

// Rows of unit length, at right angles, right-handed as the axes of a rotation.
::testing::AssertionResult IsRotation(const Matrix4& m)
{
    const Vec3 x = AxisOf(m, 0), y = AxisOf(m, 1), z = AxisOf(m, 2);
    for (float v : {x.x, x.y, x.z, y.x, y.y, y.z, z.x, z.y, z.z})
        if (!std::isfinite(v)) return ::testing::AssertionFailure() << "not finite";
    if (std::fabs(Length(x) - 1) > 1e-4f || std::fabs(Length(y) - 1) > 1e-4f || std::fabs(Length(z) - 1) > 1e-4f ||
        std::fabs(Dot(x, y)) > 1e-4f || std::fabs(Dot(y, z)) > 1e-4f || std::fabs(Dot(z, x)) > 1e-4f ||
        std::fabs(Dot(Cross(x, y), z) - 1) > 1e-4f)
        return ::testing::AssertionFailure() << "not orthonormal";
    return ::testing::AssertionSuccess();
}

TEST(MouseRotate, APartStraightAboveTheEyeTurnsAboutTheViewsOwnAxes)
{
    MouseScene s;
    View& pers = s.session.Views().views[1];
    pers.eye = {0, 0, 0};
    pers.target = {0, 50, 100};
    // The Part's origin is right above the eye; its box lies ahead of the eye.
    const int part = AddModelPart(s.scene, s.folder, BoxModel({-10, -10, 90}, {10, 10, 110}), -1, {0, 50, 0});
    s.mouse.LeftButtonDown(kPersX, kPersY);
    ASSERT_EQ(s.mouse.PickedPart(), part);
    s.mouse.MouseMove(kPersX + 17, kPersY - 9, MouseKey::Left);
    s.mouse.MouseMove(kPersX - 40, kPersY + 25, MouseKey::Left);
    const Matrix4 world = s.scene.WorldMatrixOf(part);
    EXPECT_TRUE(IsRotation(world));
    EXPECT_FALSE(MatricesNear(world, MatrixTranslation(0, 50, 0), 1e-3f));
    EXPECT_TRUE(IsRotation(s.scene.Parts()[part]->localMatrix));
    // A horizontal drag alone still turns about the vertical.
    s.mouse.LeftButtonDown(kPersX, kPersY);
    const Matrix4 before = s.scene.WorldMatrixOf(part);
    s.mouse.MouseMove(kPersX + 30, kPersY, MouseKey::Left);
    const Vec3 up = TransformNormal({0, 1, 0}, Inverse(before) * s.scene.WorldMatrixOf(part));
    EXPECT_TRUE(VectorsNear(up, {0, 1, 0}, 1e-5f));
}

TEST(MouseOrbit, TheRightButtonTurnsThePerspectiveEyeAboutItsTarget)
{
    MouseScene s;
    View& pers = s.session.Views().views[1];
    const Vec3 target = pers.target;
    const float distance = Length(pers.eye - target);
    const auto heading = [&] { return std::atan2(pers.eye.x - target.x, pers.eye.z - target.z); };
    const auto elevation = [&] { return std::asin((pers.eye.y - target.y) / Length(pers.eye - target)); };
    const float heading0 = heading(), elevation0 = elevation();

    s.mouse.RightButtonDown(kPersX, kPersY);
    s.mouse.MouseMove(kPersX + 40, kPersY, MouseKey::Right);
    EXPECT_NEAR(std::remainder(heading() - heading0, 6.2831853f), 40.0f * 360.0f / 399.0f * kDegreesToRadians, 1e-5f);
    EXPECT_NEAR(elevation(), elevation0, 1e-5f);
    // Dragging down raises the eye.
    s.mouse.MouseMove(kPersX + 40, kPersY + 12, MouseKey::Right);
    EXPECT_NEAR(elevation() - elevation0, 12.0f * 360.0f / 298.0f * kDegreesToRadians, 1e-5f);
    EXPECT_NEAR(Length(pers.eye - target), distance, 1e-2f);
    EXPECT_TRUE(VectorsNear(pers.savedPersEye, pers.eye, 0));
    s.mouse.RightButtonUp(kPersX + 40, kPersY + 12);

    // Over the pole there is no tipping axis: the eye keeps its distance.
    pers.eye = target + Vec3{0, distance, 0};
    s.mouse.RightButtonDown(kPersX, kPersY);
    s.mouse.MouseMove(kPersX + 5, kPersY + 30, MouseKey::Right);
    EXPECT_NEAR(Length(pers.eye - target), distance, 1e-2f);

    // Orthographic views do not orbit.
    const Vec3 frontEye = s.session.Views().views[2].eye;
    s.mouse.RightButtonDown(kFrontX, kFrontY);
    s.mouse.MouseMove(kFrontX + 50, kFrontY + 50, MouseKey::Right);
    EXPECT_TRUE(VectorsNear(s.session.Views().views[2].eye, frontEye, 0));
}

TEST(MouseCursor, TheBandsSetTheCursorWhenNoButtonIsHeld)
{
    MouseScene s;
    s.mouse.MouseMove(399, 299, MouseKey::None);
    EXPECT_EQ(s.mouse.Cursor(), CursorShape::SizeAll);
    s.mouse.MouseMove(100, 300, MouseKey::Shift);
    EXPECT_EQ(s.mouse.Cursor(), CursorShape::SizeNS);
    s.mouse.MouseMove(400, 500, MouseKey::None);
    EXPECT_EQ(s.mouse.Cursor(), CursorShape::SizeWE);
    s.mouse.MouseMove(100, 100, MouseKey::Left);  // a button held: unchanged
    EXPECT_EQ(s.mouse.Cursor(), CursorShape::SizeWE);
    s.mouse.MouseMove(100, 100, MouseKey::None);
    EXPECT_EQ(s.mouse.Cursor(), CursorShape::Arrow);
}

}  // namespace
