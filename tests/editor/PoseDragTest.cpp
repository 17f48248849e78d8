#include "editor/CommandHost.h"
#include "editor/CommandRegistry.h"
#include "editor/CommandState.h"
#include "editor/MouseTestScene.h"
#include "scene/PoseComposition.h"
#include "support/MatrixMatchers.h"
#include "support/ScriptedPrompt.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

using namespace m3d;

namespace {

// In the Front view (2) the origin shows at (199, 450.5): right is +X, up +Y.
constexpr float kOriginX = 199.0f, kOriginY = 450.5f;

// A pixel of view where the selected Part's gizmo has handle, looked for round the pivot.
std::pair<int, int> FindHandle(const EditorSession& session, int view, GizmoHandle handle)
{
    const Vec3 pivot = session.GetScene().WorldMatrixOf(session.CurrentPart()).Translation();
    const PixelPoint c = *session.Views().PixelOf(view, pivot);
    for (float radius = 20; radius <= 100; radius += 2)
        for (int k = 0; k < 90; ++k) {
            const float angle = float(k) * 4.0f * kDegreesToRadians;
            const int x = int(std::lround(c.x + radius * std::cos(angle)));
            const int y = int(std::lround(c.y + radius * std::sin(angle)));
            if (session.Posing().HandleAt(view, x, y) == handle) return {x, y};
        }
    ADD_FAILURE() << "no such handle in view " << view;
    return {0, 0};
}

// Every Part's local pose and mesh world, to compare bit for bit.
std::vector<Matrix4> PoseBits(const Scene& scene)
{
    std::vector<Matrix4> bits;
    for (const auto& part : scene.Parts()) {
        Matrix4 local = part->localMatrix;
        local.m[0][3] = part->localPosition.x;
        local.m[1][3] = part->localPosition.y;
        local.m[2][3] = part->localPosition.z;
        bits.push_back(local);
        bits.push_back(part->mesh->GetMatrix());
    }
    return bits;
}

bool SameBits(const std::vector<Matrix4>& a, const std::vector<Matrix4>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Matrix4)) == 0;
}

class NoDialogs : public CommandHost {
public:
    UserPrompt& Prompt() override { return prompt; }
    ScriptedPrompt prompt;
};

TEST(GizmoDrag, ARingTurnsThePartAboutItsAxisFollowingThePointer)
{
    MouseScene s;
    const int part = s.Add({0, 0, 0});
    s.session.SelectPart(part);
    // Up and right of the pivot on the Z ring, then a quarter turn clockwise on screen.
    s.mouse.LeftButtonDown(241, 408);
    EXPECT_EQ(s.mouse.Mode(), DragMode::Gizmo);
    s.mouse.MouseMove(241, 493, MouseKey::Left);
    const Matrix4 world = s.scene.WorldMatrixOf(part);
    // The X axis pointed right; it points down the screen now.
    EXPECT_TRUE(VectorsNear(AxisOf(world, 0), {0, -1, 0}, 0.02f));
    EXPECT_TRUE(VectorsNear(AxisOf(world, 2), {0, 0, 1}, 1e-6f));
    EXPECT_TRUE(VectorsNear(world.Translation(), {0, 0, 0}, 0));
    EXPECT_NEAR(s.session.TransformPanel().fields.absoluteRotation.b, -90.0f, 1.0f);
    s.mouse.LeftButtonUp(241, 493);
    EXPECT_EQ(s.Pushes(), 1);
    EXPECT_EQ(s.session.History().UndoLabel(), "回転");

    // With Ctrl the turn goes in whole steps: about 50 degrees becomes 45.
    s.session.History().Undo();
    s.session.Posing().SetRotateSnapDegrees(0);  // not a step: the default
    EXPECT_EQ(s.session.Posing().RotateSnapDegrees(), 15);
    s.mouse.LeftButtonDown(241, 408);
    s.mouse.MouseMove(258, 456, MouseKey::Left | MouseKey::Control);
    EXPECT_TRUE(VectorsNear(AxisOf(s.scene.WorldMatrixOf(part), 0), {0.70710678f, -0.70710678f, 0}, 1e-5f));
}

TEST(GizmoDrag, TurningAboutALocalAxisKeepsThatRowAndAboutAWorldAxisKeepsTheHeights)
{
    MouseScene s;
    const int parent = s.Add({10, 0, 20}, 5);
    s.scene.Parts()[parent]->localMatrix = RotationFromAngles({40, -25, 15});
    s.scene.UpdateHierarchy(0);
    const int child = s.Add({0, 0, 0}, 5, parent);
    s.scene.Parts()[child]->localMatrix = RotationFromAngles({-30, 20, 60});
    s.scene.UpdateHierarchy(0);
    s.session.SelectPart(child);
    // A drag across the ring, round the pivot in the Pers view (1).
    const auto turn = [&](GizmoHandle handle) {
        const auto [x, y] = FindHandle(s.session, 1, handle);
        const PixelPoint c = *s.session.Views().PixelOf(1, WorldPosition(s.scene, child));
        s.Drag(x, y, x - int((float(y) - c.y) * 0.5f), y + int((float(x) - c.x) * 0.5f));
    };
    const Matrix4 before = s.scene.Parts()[child]->localMatrix;
    turn(GizmoHandle::RotateX);
    const Matrix4 after = s.scene.Parts()[child]->localMatrix;
    EXPECT_TRUE(VectorsNear(AxisOf(after, 0), AxisOf(before, 0), 1e-5f));
    EXPECT_FALSE(VectorsNear(AxisOf(after, 1), AxisOf(before, 1), 0.05f));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, child), WorldPosition(s.scene, parent), 1e-4f));

    s.session.Posing().SetSpace(AxisSpace::World);
    const Matrix4 world = s.scene.WorldMatrixOf(child);
    turn(GizmoHandle::RotateY);
    const Matrix4 turned = s.scene.WorldMatrixOf(child);
    EXPECT_FALSE(VectorsNear(AxisOf(turned, 0), AxisOf(world, 0), 0.05f));
    for (int r = 0; r < 3; ++r) EXPECT_NEAR(AxisOf(turned, r).y, AxisOf(world, r).y, 1e-5f) << r;
    EXPECT_EQ(s.Pushes(), 2);
}

TEST(GizmoDrag, AnArrowMovesAlongItsAxisOnlyAndCtrlMovesInSnapSteps)
{
    MouseScene s;
    s.session.Views().SetGridWidth(50);
    const int part = s.Add({0, 0, 0});
    s.session.SelectPart(part);
    s.mouse.LeftButtonDown(280, 451);  // the X arrow
    EXPECT_EQ(s.mouse.Mode(), DragMode::Gizmo);
    s.mouse.MouseMove(303, 470, MouseKey::Left);  // 23 pixels right of the press, 19 down
    EXPECT_EQ(WorldPosition(s.scene, part), (Vec3{115, 0, 0}));
    s.session.Posing().SetMoveSnap(7.5f);  // a step of its own, finer than the grid
    s.mouse.MouseMove(303, 470, MouseKey::Left | MouseKey::Control);
    EXPECT_EQ(WorldPosition(s.scene, part), (Vec3{112.5f, 0, 0}));
    s.session.Posing().SetMoveSnap(0);  // the grid's width again
    s.mouse.MouseMove(303, 470, MouseKey::Left | MouseKey::Control);
    EXPECT_EQ(WorldPosition(s.scene, part), (Vec3{100, 0, 0}));
    EXPECT_EQ(s.session.TransformPanel().fields.absolutePosition, (Vec3{100, 0, 0}));
    s.mouse.LeftButtonUp(303, 470);
    EXPECT_EQ(s.Pushes(), 1);
    EXPECT_EQ(s.session.History().UndoLabel(), "移動");

    // A Part turned a quarter about Z: its own X arrow points up the screen.
    s.scene.Parts()[part]->localMatrix = MatrixRotationZ(1.5707963f);
    s.scene.UpdateHierarchy(0);
    const int pivotX = int(kOriginX) + 100 / 5;
    s.Drag(pivotX, int(kOriginY) - 85, pivotX + 7, int(kOriginY) - 105);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {100, 100, 0}, 1e-4f));
}

TEST(GizmoDrag, TheLinkedPartnerFollowsMirrored)
{
    MouseScene s;
    const int body = s.Add({30, 0, 0});
    const int partner = s.Add({-40, 7, 3});
    s.scene.Parts()[partner]->symmetryIndex = body;
    s.session.TransformPanel().linkLR = 1;
    s.session.SelectPart(body);
    s.Drag(290, 451, 313, 451);  // the X arrow, 23 pixels right
    EXPECT_EQ(WorldPosition(s.scene, body), (Vec3{145, 0, 0}));
    EXPECT_EQ(WorldPosition(s.scene, partner), (Vec3{-145, 0, 0}));
    const auto [x, y] = FindHandle(s.session, 2, GizmoHandle::RotateZ);
    s.Drag(x, y, x + 30, y + 40);
    const Matrix4 bodyWorld = s.scene.WorldMatrixOf(body);
    EXPECT_FALSE(VectorsNear(AxisOf(bodyWorld, 0), {1, 0, 0}, 0.05f));
    for (int r = 0; r < 3; ++r)
        EXPECT_TRUE(
            VectorsNear(AxisOf(s.scene.WorldMatrixOf(partner), r), AxisOf(MirrorRotation(bodyWorld), r), 1e-6f));
    EXPECT_EQ(WorldPosition(s.scene, partner), (Vec3{-145, 0, 0}));
}

TEST(GizmoDrag, WithThePivotKeyHeldAnArrowMovesThePivotAndLeavesThePartWhereItStands)
{
    MouseScene s;
    const int part = s.Add({0, 0, 0});
    s.session.SelectPart(part);
    const auto worldVertices = [&] {
        std::vector<Vec3> points = s.scene.Parts()[part]->mesh->GetVertexPositions();
        for (Vec3& p : points) p = TransformPoint(p, s.scene.WorldMatrixOf(part));
        return points;
    };
    const std::vector<Vec3> before = worldVertices();
    EXPECT_TRUE(s.session.Posing().SetPivotKeyHeld(true));
    EXPECT_EQ(s.session.Posing().HandleAt(2, 241, 408), GizmoHandle::None);  // the Z ring is left out
    s.mouse.LeftButtonDown(280, 451);
    EXPECT_EQ(s.mouse.Mode(), DragMode::Gizmo);
    s.mouse.MouseMove(303, 451, MouseKey::Left);
    EXPECT_EQ(WorldPosition(s.scene, part), (Vec3{0, 0, 0}));
    EXPECT_EQ(s.session.Posing().Shown()->centre, (Vec3{115, 0, 0}));
    s.mouse.LeftButtonUp(303, 451);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {115, 0, 0}, 1e-4f));
    const std::vector<Vec3> after = worldVertices();
    ASSERT_EQ(after.size(), before.size());
    for (size_t k = 0; k < after.size(); ++k) EXPECT_TRUE(VectorsNear(after[k], before[k], 1e-4f)) << k;
    EXPECT_EQ(s.Pushes(), 1);
    EXPECT_EQ(s.session.History().UndoLabel(), "ピボットの移動");
}

TEST(PickingOrder, ThePressPrefersTheSelectedPartAndAltClicksGoThroughThePartsUnderIt)
{
    MouseScene s;
    // Three cubes one behind the other as the Front view sees them, nearest first.
    const int front = s.Add({0, 0, -100});
    const int middle = s.Add({0, 0, 0});
    const int back = s.Add({0, 0, 100});
    s.session.SelectPart(-1);
    s.Drag(kFrontX, kFrontY, kFrontX, kFrontY);
    EXPECT_EQ(s.mouse.PickedPart(), front);
    s.session.SelectPart(back);
    s.mouse.LeftButtonDown(kFrontX, kFrontY);
    EXPECT_EQ(s.mouse.PickedPart(), back);
    EXPECT_EQ(s.mouse.Mode(), DragMode::Move);
    s.mouse.LeftButtonUp(kFrontX, kFrontY);

    s.session.SelectPart(-1);
    for (const int expected : {front, middle, back, front}) {
        s.mouse.LeftButtonDown(kFrontX, kFrontY, MouseKey::Alt);
        EXPECT_EQ(s.mouse.Mode(), DragMode::None);
        s.mouse.LeftButtonUp(kFrontX, kFrontY);
        EXPECT_EQ(s.session.CurrentPart(), expected);
    }
    // A hidden Part is not under the cursor.
    s.scene.SetTreeItemChecked(s.scene.Parts()[middle]->treeItem, false);
    s.mouse.LeftButtonDown(kFrontX, kFrontY, MouseKey::Alt);
    EXPECT_EQ(s.session.CurrentPart(), back);
    s.session.SelectPart(middle);
    s.mouse.LeftButtonDown(kFrontX, kFrontY);
    EXPECT_EQ(s.mouse.PickedPart(), front);
    EXPECT_EQ(s.Pushes(), 0);
}

TEST(KeyDrag, RAndGDragFromThePointerAndEscapePutsEveryPoseBackBitForBit)
{
    MouseScene s;
    NoDialogs host;
    const int part = s.Add({0, 0, 0});
    s.Add({12, 5, 0}, 3, part);
    const int partner = s.Add({-40, 0, 0});
    s.scene.Parts()[partner]->symmetryIndex = part;
    s.session.TransformPanel().linkLR = 1;
    s.session.SelectPart(part);
    const std::vector<Matrix4> start = PoseBits(s.scene);
    const TransformValues fields = s.session.TransformPanel().fields;

    RunCommand(EditorCommand::RotateDrag, s.session, host);
    EXPECT_FALSE(s.session.Posing().Dragging());  // the pointer was never over a view
    EXPECT_FALSE(CanRun(s.session, EditorCommand::DragAxisX));
    s.mouse.MouseMove(241, 408, MouseKey::None);
    RunCommand(EditorCommand::RotateDrag, s.session, host);
    EXPECT_TRUE(s.session.Posing().DraggingByKeys());
    EXPECT_TRUE(CanRun(s.session, EditorCommand::DragAxisX));
    // Free, it turns about the view's line of sight: the Front view's is Z.
    s.mouse.MouseMove(241, 493, MouseKey::None);
    EXPECT_TRUE(VectorsNear(AxisOf(s.scene.WorldMatrixOf(part), 0), {0, -1, 0}, 0.02f));
    EXPECT_FALSE(SameBits(PoseBits(s.scene), start));
    RunCommand(EditorCommand::CancelDrag, s.session, host);
    EXPECT_FALSE(s.session.Posing().Dragging());
    EXPECT_TRUE(SameBits(PoseBits(s.scene), start));
    EXPECT_EQ(s.session.TransformPanel().fields.absoluteRotation.b, fields.absoluteRotation.b);
    EXPECT_EQ(s.Pushes(), 0);

    // A right click cancels too, and the rest of that right drag does not orbit.
    const Vec3 eye = s.session.Views().views[1].eye;
    s.mouse.MouseMove(kPersX, kPersY, MouseKey::None);
    RunCommand(EditorCommand::MoveDrag, s.session, host);
    s.mouse.MouseMove(kPersX + 20, kPersY, MouseKey::None);
    EXPECT_FALSE(SameBits(PoseBits(s.scene), start));
    s.mouse.RightButtonDown(kPersX + 20, kPersY);
    s.mouse.MouseMove(kPersX + 60, kPersY, MouseKey::Right);
    s.mouse.RightButtonUp(kPersX + 60, kPersY);
    EXPECT_TRUE(SameBits(PoseBits(s.scene), start));
    EXPECT_EQ(s.session.Views().views[1].eye, eye);
    EXPECT_EQ(s.Pushes(), 0);
}

TEST(KeyDrag, XYZLockToTheSwitchesSpaceThenTheOtherThenFreeAndEnterIsOneUndoStep)
{
    MouseScene s;
    NoDialogs host;
    const int part = s.Add({0, 0, 0});
    // Turned a quarter about Z: its own X axis is the world's Y.
    s.scene.Parts()[part]->localMatrix = MatrixRotationZ(1.5707963f);
    s.scene.UpdateHierarchy(0);
    s.session.SelectPart(part);
    s.mouse.MouseMove(250, 430, MouseKey::None);
    RunCommand(EditorCommand::MoveDrag, s.session, host);
    s.mouse.MouseMove(270, 400, MouseKey::None);  // 20 pixels right, 30 up: 100 and 150 units
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {100, 150, 0}, 1e-3f));
    RunCommand(EditorCommand::DragAxisX, s.session, host);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {0, 150, 0}, 1e-3f));
    RunCommand(EditorCommand::DragAxisX, s.session, host);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {100, 0, 0}, 1e-3f));
    RunCommand(EditorCommand::DragAxisX, s.session, host);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {100, 150, 0}, 1e-3f));
    RunCommand(EditorCommand::DragAxisY, s.session, host);  // the Part's Y points left
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {100, 0, 0}, 1e-3f));
    RunCommand(EditorCommand::ConfirmDrag, s.session, host);
    EXPECT_FALSE(s.session.Posing().Dragging());
    EXPECT_EQ(s.Pushes(), 1);
    EXPECT_EQ(s.session.History().UndoLabel(), "移動");

    // A left click confirms, and so does any other command.
    RunCommand(EditorCommand::RotateDrag, s.session, host);
    s.mouse.MouseMove(230, 460, MouseKey::None);
    s.mouse.LeftButtonDown(230, 460);
    s.mouse.LeftButtonUp(230, 460);
    EXPECT_EQ(s.Pushes(), 2);
    RunCommand(EditorCommand::MoveDrag, s.session, host);
    s.mouse.MouseMove(210, 470, MouseKey::None);
    RunCommand(EditorCommand::FitViews, s.session, host);
    EXPECT_FALSE(s.session.Posing().Dragging());
    EXPECT_EQ(s.Pushes(), 3);
    s.session.History().Undo();
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, part), {100, 0, 0}, 1e-3f));
}

}  // namespace
