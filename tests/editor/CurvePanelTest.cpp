#include "editor/CurvePanelState.h"
#include "editor/FrameCommands.h"
#include "editor/KeyMarkerShape.h"
#include "editor/MotionPathDisplay.h"

#include "anim/PoseEvaluation.h"
#include "view/RotationAngles.h"
#include "support/MotionFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace m3d;

namespace {

const PixelRect kArea{100, 10, 501, 211};  // 400 x 200 pixel steps

// A chain of two cubes; the second (current) moves x 0 -> 20 over frames 0 ... 10 eased, then back to -10 at 20.
struct EasedPart {
    MotionSessionFixture f{2, 30};
    Scene& scene = f.session.GetScene();
    const KeyInterpolation ease = KeyInterpolation::Ease(0.25f, 0.1f, 0.75f, 1.2f);
    EasedPart()
    {
        EXPECT_TRUE(SetKeyMatrix(scene, 0, 1, 0, MatrixTranslation(0, 0, 0)));
        EXPECT_TRUE(SetKeyMatrix(scene, 0, 1, 10, MatrixTranslation(20, 0, 0)));
        EXPECT_TRUE(SetKeyMatrix(scene, 0, 1, 20, MatrixTranslation(-10, 0, 0)));
        EXPECT_TRUE(SetKeyInterpolation(scene, 0, 1, 0, ease));
        f.session.Events().Publish(MotionKeysChanged{0});
        f.session.History().Clear();
    }
    TrackPose PoseAt(int frame) { return PartPoseAt(scene, scene.MotionAt(0), 1, frame); }
};

}  // namespace

TEST(CurvePlot, FramesRunRightValuesUpAndZoomPanAndFitKeepWithinTheLimits)
{
    CurvePlot plot;
    plot.SetArea(kArea);
    plot.Fit(60, -20, 80);  // margins: 2 % of the frames, 10 % of the values
    EXPECT_DOUBLE_EQ(plot.XOf(-1.2), 100.0);
    EXPECT_DOUBLE_EQ(plot.XOf(61.2), 500.0);
    EXPECT_DOUBLE_EQ(plot.YOf(90.0), 10.0);
    EXPECT_DOUBLE_EQ(plot.YOf(-30.0), 210.0);
    EXPECT_NEAR(plot.FrameAtX(plot.XOf(17.3)), 17.3, 1e-9);
    EXPECT_NEAR(plot.ValueAtY(plot.YOf(-12.5)), -12.5, 1e-9);

    // The wheel keeps what lies under the cursor in place.
    const double frameUnder = plot.FrameAtX(180), valueUnder = plot.ValueAtY(50);
    plot.ZoomFrames(180, 2, 60);
    EXPECT_NEAR(plot.FrameAtX(180), frameUnder, 1e-9);
    EXPECT_NEAR(plot.FrameHigh() - plot.FrameLow(), 62.4 / 1.5625, 1e-9);
    plot.ZoomValues(50, -1);
    EXPECT_NEAR(plot.ValueAtY(50), valueUnder, 1e-9);
    EXPECT_NEAR(plot.ValueHigh() - plot.ValueLow(), 150.0, 1e-9);

    // Dragging moves what was under the mouse along with it.
    const CurvePlot from = plot;
    plot.PanFrom(from, 40, 20, 60);
    EXPECT_NEAR(plot.FrameAtX(220), from.FrameAtX(180), 1e-9);
    EXPECT_NEAR(plot.ValueAtY(70), from.ValueAtY(50), 1e-9);

    // Limits: 4 frames at the closest, four times the Motion at the farthest, its middle within the Motion.
    plot.ZoomFrames(180, 40, 60);
    EXPECT_DOUBLE_EQ(plot.FrameHigh() - plot.FrameLow(), CurvePlot::kMinFrameSpan);
    plot.ZoomFrames(180, -60, 60);
    EXPECT_DOUBLE_EQ(plot.FrameHigh() - plot.FrameLow(), 4.0 * 61);
    plot.PanFrom(CurvePlot(plot), -1e9, 1e12, 60);
    EXPECT_DOUBLE_EQ((plot.FrameLow() + plot.FrameHigh()) / 2, 60.0);
    EXPECT_LE(plot.ValueHigh(), 1.5 * CurvePlot::kMaxValueSpan);
    plot.ZoomValues(50, 200);
    EXPECT_NEAR(plot.ValueHigh() - plot.ValueLow(), CurvePlot::kMinValueSpan, 1e-6);

    // A flat curve over a Motion of one frame still gets room.
    plot.Fit(0, 5, 5);
    EXPECT_DOUBLE_EQ(plot.ValueLow(), 4.0);
    EXPECT_DOUBLE_EQ(plot.ValueHigh(), 6.0);
    EXPECT_DOUBLE_EQ(plot.FrameLow(), -2.0);

    EXPECT_EQ(TickStep(100, 400, 40), 10.0);
    EXPECT_EQ(TickStep(130, 400, 40), 20.0);
    EXPECT_EQ(TickStep(3, 400, 40, 1.0), 1.0);
    EXPECT_NEAR(TickStep(0.7, 200, 28), 0.1, 1e-12);
    EXPECT_EQ(TickStep(300, 400, 40), 50.0);
}

TEST(EaseHandles, PlacedInTheSegmentsBoxOnTheCurvesItChangesAndDraggedIntoEaseNumbers)
{
    MotionTrack track;
    track.keys = {{0, MatrixTranslation(0, 5, 0), KeyInterpolation::Ease(0.25f, 0.1f, 0.75f, 1.2f)},
                  {10, MatrixTranslation(20, 5, 0), KeyInterpolation::EaseOut()},
                  {20, MatrixTranslation(-10, 5, 0)}};
    const PartCurves curves = SampleTrackCurves(track, 20, {});
    std::array<bool, kCurveChannelCount> shown{true, true, true, true, true, true};
    // Only x changes: y, z and the angles stay flat and get no handles.
    const std::vector<EaseHandle> handles = EaseHandlesOf(curves, shown);
    ASSERT_EQ(handles.size(), 4u);
    const struct {
        size_t key;
        int which;
        double frame, value, anchorFrame, anchorValue;
    } expected[] = {
        {0, 1, 2.5, 2.0, 0, 0}, {0, 2, 7.5, 24.0, 10, 20}, {1, 1, 10, 20, 10, 20}, {1, 2, 15.8, -10, 20, -10}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(handles[i].channel, CurveChannel::X);
        EXPECT_EQ(handles[i].key, expected[i].key);
        EXPECT_EQ(handles[i].which, expected[i].which);
        EXPECT_NEAR(handles[i].frame, expected[i].frame, 1e-5) << i;
        EXPECT_NEAR(handles[i].value, expected[i].value, 1e-5) << i;
        EXPECT_EQ(handles[i].anchorFrame, expected[i].anchorFrame);
        EXPECT_EQ(handles[i].anchorValue, expected[i].anchorValue);
    }
    shown[size_t(CurveChannel::X)] = false;
    EXPECT_TRUE(EaseHandlesOf(curves, shown).empty());

    // The nearest within the radius; none beyond it.
    CurvePlot plot;
    plot.SetArea(kArea);
    plot.Fit(20, -10, 24);
    const double x = plot.XOf(7.5), y = plot.YOf(24.0);
    ASSERT_TRUE(HandleAt(handles, plot, x + 3, y - 3, 5).has_value());
    EXPECT_EQ(HandleAt(handles, plot, x + 3, y - 3, 5)->which, 2);
    EXPECT_FALSE(HandleAt(handles, plot, x + 4, y - 4, 5).has_value());

    // x clamps into [0, 1], y follows the value (descending boxes too), the other point stays.
    const KeyInterpolation ease = KeyInterpolation::Ease(0.25f, 0.1f, 0.75f, 1.2f);
    EXPECT_EQ(EaseWithHandleAt(ease, 1, handles[0].box, -3.0, 30.0), KeyInterpolation::Ease(0.0f, 1.5f, 0.75f, 1.2f));
    EXPECT_EQ(EaseWithHandleAt(ease, 2, handles[0].box, 15.0, -4.0), KeyInterpolation::Ease(0.25f, 0.1f, 1.0f, -0.2f));
    EXPECT_EQ(EaseWithHandleAt(ease, 1, handles[2].box, 12.0, 23.0), KeyInterpolation::Ease(0.2f, -0.1f, 0.75f, 1.2f));
}

TEST(CurvePanelState, APressGoesToTheFrameWithItsPoseAndAHandleDragIsOneInterpolationStep)
{
    EasedPart p;
    EditorSession& session = p.f.session;
    CurvePanelState state(session);
    state.SetPlotArea(kArea);
    const PartCurves* curves = state.Curves();
    ASSERT_NE(curves, nullptr);
    EXPECT_EQ(curves->Value(CurveChannel::X, 10), 20.0);
    // Fitted to the curves shown, handles included.
    EXPECT_LT(state.Plot().FrameLow(), 0.0);
    EXPECT_GT(state.Plot().ValueHigh(), 24.0);

    // A click beside the handles and keys: the frame under the mouse, the pose there, no step; a drag
    // there draws a box that picks nothing and goes to no frame.
    const CurvePlot& plot = state.Plot();
    state.LeftDown(int(std::lround(plot.XOf(5))), kArea.bottom - 2);
    state.LeftUp();
    EXPECT_EQ(session.CurrentFrame(), 5);
    EXPECT_EQ(session.GetScene().PartAt(1)->localPosition, p.PoseAt(5).localPosition);
    state.LeftDown(int(std::lround(plot.XOf(8.3))), kArea.bottom - 2);
    state.MouseMove(int(std::lround(plot.XOf(5))), 30);
    EXPECT_TRUE(state.SelectionBox().has_value());
    state.LeftUp();
    EXPECT_EQ(session.CurrentFrame(), 5);
    EXPECT_TRUE(state.Selection().empty());
    EXPECT_EQ(session.History().StepCount(), 0);  // going to frames is no step

    // The first handle of x, grabbed a pixel off and moved: previewed, then one step on release.
    const double hx = plot.XOf(2.5), hy = plot.YOf(2.0);
    state.LeftDown(int(std::lround(hx)) + 1, int(std::lround(hy)) + 1);
    ASSERT_TRUE(state.DraggedHandle().has_value());
    const double before = state.Curves()->Value(CurveChannel::X, 3);
    state.MouseMove(int(std::lround(hx)) + 21, int(std::lround(hy)) - 39);
    EXPECT_NE(state.Curves()->Value(CurveChannel::X, 3), before);
    EXPECT_EQ(p.f.Track(1).keys[0].interpolation, p.ease);  // nothing changed yet
    // The handle keeps its place relative to the mouse.
    EXPECT_NEAR(plot.XOf(state.DraggedHandle()->frame), hx + 20, 1e-3);
    state.LeftUp();
    const KeyInterpolation dragged = p.f.Track(1).keys[0].interpolation;
    EXPECT_NEAR(dragged.X1(), plot.FrameAtX(hx + 20) / 10.0, 1e-6);
    EXPECT_NEAR(dragged.Y1(), plot.ValueAtY(hy - 40) / 20.0, 1e-6);
    EXPECT_EQ(dragged.X2(), 0.75f);
    EXPECT_EQ(session.History().StepCount(), 1);
    EXPECT_EQ(session.History().UndoLabel(), "補間の変更");
    EXPECT_NE(state.Curves()->Value(CurveChannel::X, 3), before);
    session.History().Undo();
    EXPECT_EQ(p.f.Track(1).keys[0].interpolation, p.ease);
    EXPECT_EQ(state.Curves()->Value(CurveChannel::X, 3), before);

    // Keys changed under a drag end it without a step.
    state.LeftDown(int(std::lround(hx)), int(std::lround(hy)));
    state.MouseMove(int(std::lround(hx)) + 30, int(std::lround(hy)));
    ASSERT_TRUE(state.DraggedHandle().has_value());
    ASSERT_TRUE(SetKeyMatrix(p.scene, 0, 1, 25, MatrixTranslation(1, 1, 1)));
    session.Events().Publish(MotionKeysChanged{0});
    state.LeftUp();
    EXPECT_EQ(p.f.Track(1).keys[0].interpolation, p.ease);
    EXPECT_EQ(session.History().UndoLabel(), "");  // no step recorded

    // While playing a press does nothing.
    session.SetPlaying(true);
    state.LeftDown(int(std::lround(plot.XOf(20))), kArea.bottom - 2);
    state.LeftUp();
    EXPECT_EQ(session.CurrentFrame(), 5);
    EXPECT_FALSE(state.Dragging());
}

TEST(CurvePanelState, KeyPointsArePickedDraggedByWholeFramesTypedAndRetypedEachOneStep)
{
    EasedPart p;
    EditorSession& session = p.f.session;
    GoToFrameCommand(session, 12);
    session.History().Clear();
    CurvePanelState state(session);
    state.SetPlotArea(kArea);
    ASSERT_NE(state.Curves(), nullptr);
    const CurvePlot& plot = state.Plot();
    const auto px = [&](double frame) { return int(std::lround(plot.XOf(frame))); };
    const auto py = [&](double value) { return int(std::lround(plot.YOf(value))); };

    // x's key at frame 10 (value 20), grabbed two pixels off and dragged 2.4 frames right and up.
    state.LeftDown(px(10) + 2, py(20) - 2);
    const std::vector<CurveKeyPoint> picked{{10, CurveChannel::X}};
    EXPECT_EQ(state.Selection(), picked);
    EXPECT_EQ(state.SelectedValue(), 20.0);
    state.MouseMove(px(12.4) + 2, py(20) - 12);
    const double lifted = 20.0 + plot.ValueAtY(py(20) - 12) - plot.ValueAtY(py(20) - 2);
    EXPECT_NEAR(state.Curves()->Value(CurveChannel::X, 12), lifted, 1e-5);  // previewed
    EXPECT_EQ(p.f.Track(1).FindKey(12), -1);                                // not stored yet
    state.LeftUp();
    ASSERT_EQ(p.f.Track(1).FindKey(10), -1);
    const KeyFrame& moved = p.f.Track(1).keys[size_t(p.f.Track(1).FindKey(12))];
    EXPECT_NEAR(moved.matrix.Translation().x, lifted, 1e-5);
    EXPECT_EQ(moved.interpolation, KeyInterpolation::Linear());
    const std::vector<CurveKeyPoint> followed{{12, CurveChannel::X}};
    EXPECT_EQ(state.Selection(), followed);
    EXPECT_EQ(session.History().StepCount(), 1);
    EXPECT_EQ(session.History().UndoLabel(), "キーの移動");
    EXPECT_EQ(session.GetScene().PartAt(1)->localPosition.x, moved.matrix.Translation().x);  // the pose shown follows

    // Shift keeps a mostly upward drag to the value; a typed value is one step of its own.
    state.LeftDown(px(12), py(lifted));
    state.MouseMove(px(12) + 9, py(lifted) + 30, true);
    state.LeftUp();
    ASSERT_GE(p.f.Track(1).FindKey(12), 0);
    EXPECT_EQ(session.History().UndoLabel(), "キー値の変更");
    EXPECT_TRUE(state.SetSelectedValue(7.0));
    EXPECT_EQ(p.f.Track(1).keys[size_t(p.f.Track(1).FindKey(12))].matrix.Translation().x, 7.0f);
    EXPECT_EQ(session.History().StepCount(), 3);
    EXPECT_TRUE(state.SetSelectedInterpolation(KeyInterpolation::Bezier(TangentMode::Vector)));
    EXPECT_EQ(p.f.Track(1).keys[size_t(p.f.Track(1).FindKey(12))].interpolation,
              KeyInterpolation::Bezier(TangentMode::Vector));
    session.History().Undo();
    session.History().Undo();
    EXPECT_NEAR(p.f.Track(1).keys[size_t(p.f.Track(1).FindKey(12))].matrix.Translation().x,
                state.Curves()->Value(CurveChannel::X, 12), 1e-6);

    // Key 12 made auto-clamped shows its x handles; the out one dragged up gives it aligned handles
    // (one step), and flattening levels them (one more).
    ASSERT_TRUE(state.SetSelectedInterpolation(KeyInterpolation::AutoClamped()));
    std::vector<TangentHandle> tangents = state.TangentHandles();
    ASSERT_EQ(tangents.size(), 2u);
    const TangentHandle out = tangents[1];
    EXPECT_EQ(out.ref.side, 1);
    EXPECT_GT(out.frame, 12.0);
    const int steps = session.History().StepCount();
    state.LeftDown(px(out.frame), py(out.value));
    ASSERT_TRUE(state.DraggedTangent().has_value());
    state.MouseMove(px(out.frame), py(out.value) - 20);
    state.LeftUp();
    const KeyFrame& handled = p.f.Track(1).keys[size_t(p.f.Track(1).FindKey(12))];
    EXPECT_EQ(handled.interpolation, KeyInterpolation::Bezier(TangentMode::Aligned));
    EXPECT_NEAR(handled.handles.outValues[size_t(CurveChannel::X)],
                plot.ValueAtY(plot.YOf(out.value) - 20) - state.Curves()->Value(CurveChannel::X, 12), 1e-4);
    EXPECT_EQ(session.History().UndoLabel(), "ハンドルの移動");
    EXPECT_TRUE(state.FlattenSelected());
    EXPECT_EQ(p.f.Track(1).keys[size_t(p.f.Track(1).FindKey(12))].handles.outValues[size_t(CurveChannel::X)], 0.0f);
    EXPECT_EQ(session.History().StepCount(), steps + 2);

    // A box round frame 20's x (-10) and frame 0's points adds both with Shift; another Part forgets them.
    state.LeftDown(px(18), py(-12));
    state.MouseMove(px(21), py(-8));
    state.LeftUp();
    const std::vector<CurveKeyPoint> boxed{{20, CurveChannel::X}};
    EXPECT_EQ(state.Selection(), boxed);
    state.LeftDown(px(-0.5), py(1), true);
    state.MouseMove(px(0.5), py(-1), true);
    state.LeftUp();
    EXPECT_EQ(state.Selection().size(), 7u);  // the six channels at frame 0, all at 0, and x at 20
    EXPECT_FALSE(state.SelectedValue().has_value());
    session.SelectPart(0);
    EXPECT_TRUE(state.Selection().empty());
    EXPECT_FALSE(state.SetSelectedValue(1.0));
}

TEST(CurvePanelState, SampledAgainOnlyAfterTheSessionSaysSomethingChangedAndSaysWhyNothingIsPlotted)
{
    EasedPart p;
    CurvePanelState state(p.f.session);
    state.SetPlotArea(kArea);
    ASSERT_EQ(state.Curves()->Value(CurveChannel::X, 10), 20.0);
    p.f.Track(1).keys[1].matrix.SetTranslation({30, 0, 0});
    EXPECT_EQ(state.Curves()->Value(CurveChannel::X, 10), 20.0);  // kept: nothing was said
    p.f.session.Events().Publish(MotionKeysChanged{0});
    EXPECT_EQ(state.Curves()->Value(CurveChannel::X, 10), 30.0);
    EXPECT_EQ(state.EmptyText(), "");

    p.f.session.SelectPart(0);
    EXPECT_EQ(state.Curves()->Value(CurveChannel::X, 10),
              PartPoseAt(p.scene, p.scene.MotionAt(0), 0, 10).localPosition.x);
    p.f.session.SelectPart(-1);
    EXPECT_EQ(state.Curves(), nullptr);
    EXPECT_TRUE(state.Handles().empty());
    EXPECT_EQ(state.EmptyText(), "パーツが選択されていません");
    p.f.session.SelectMotion(-1);
    EXPECT_EQ(state.EmptyText(), "モーションがありません");
}

TEST(CurvePanelState, NormalisedEachCurveSpansThePlotOnItsOwnScaleAndHandlesDragAsUnscaled)
{
    // The first Part turns 90 while it moves half a unit: both fill the
    // plot's height; the still pitch lies in the middle.
    EasedPart p;
    Matrix4 turned = RotationFromAngles({90, 0, 0});
    turned.SetTranslation({0.5f, 0, 0});
    ASSERT_TRUE(SetKeyMatrix(p.scene, 0, 0, 0, Matrix4{}));
    ASSERT_TRUE(SetKeyMatrix(p.scene, 0, 0, 10, turned));
    ASSERT_TRUE(SetKeyMatrix(p.scene, 0, 0, 20, Matrix4{}));
    p.f.session.SelectPart(0);
    CurvePanelState state(p.f.session);
    state.SetPlotArea(kArea);
    state.SetNormalised(true);
    const PartCurves* curves = state.Curves();
    ASSERT_NE(curves, nullptr);
    const CurvePlot& plot = state.Plot();
    for (const CurveChannel c : {CurveChannel::Heading, CurveChannel::X}) {
        EXPECT_NEAR(plot.YOf(curves->Value(c, 0)), kArea.bottom - 1, 1e-9);
        EXPECT_NEAR(plot.YOf(curves->Value(c, 10)), kArea.top, 1e-9);
    }
    EXPECT_NEAR(plot.YOf(curves->Value(CurveChannel::Pitch, 10)), (kArea.top + kArea.bottom - 1) / 2.0, 1e-9);
    state.SetNormalised(false);
    EXPECT_NEAR(state.Curves()->Value(CurveChannel::Heading, 10), 90.0, 1e-3);

    // The eased Part's x (-10 to a little over 20): its handles sit on its
    // scale, and a handle dragged gives the ease it would unscaled.
    p.f.session.SelectPart(1);
    const std::vector<double> x = state.Curves()->values[size_t(CurveChannel::X)];
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    const double span = *high - *low;
    state.SetNormalised(true);
    const std::vector<EaseHandle> handles = state.Handles();
    ASSERT_FALSE(handles.empty());
    EXPECT_NEAR(handles[0].value, (2.0 - *low) / span, 1e-6);
    EXPECT_NEAR(handles[0].anchorValue, state.Curves()->Value(CurveChannel::X, 0), 1e-12);
    const double hx = plot.XOf(handles[0].frame), hy = plot.YOf(handles[0].value);
    state.LeftDown(int(std::lround(hx)), int(std::lround(hy)));
    state.MouseMove(int(std::lround(hx)), int(std::lround(hy)) - 40);
    state.LeftUp();
    const double value = plot.ValueAtY(hy - 40) * span + *low;
    EXPECT_NEAR(p.f.Track(1).keys[0].interpolation.Y1(), value / 20.0, 1e-5);
}

TEST(MotionPathDisplay, ADotAFrameBiggerAtKeysTheCurrentFrameMarkedFollowingEditsAndUndoAndOnlyWhenShown)
{
    MotionSessionFixture f(2, 20);
    Scene& scene = f.session.GetScene();
    MotionPathDisplay display(f.session);
    EXPECT_EQ(display.Drawing(), nullptr);  // no view shows it
    f.session.Displays()[3].motionPath = 1;
    ASSERT_TRUE(SetKeyMatrix(scene, 0, 1, 8, MatrixTranslation(16, 0, 0)));
    f.session.Events().Publish(MotionKeysChanged{0});
    f.session.SetCurrentFrame(4);
    const PathDrawing* drawing = display.Drawing();
    ASSERT_NE(drawing, nullptr);
    const std::vector<Matrix4> atFour = WorldPoseAt(scene, scene.MotionAt(0), 4);
    ASSERT_EQ(drawing->line.size(), 21u);
    ASSERT_EQ(drawing->dots.size(), 3u);
    EXPECT_EQ(drawing->dots[0].points.size(), 21u);
    EXPECT_EQ(drawing->dots[0].points[4].x, atFour[1].Translation().x);
    EXPECT_EQ(drawing->dots[1].size, kPathKeyDotSize);
    ASSERT_EQ(drawing->dots[1].points.size(), 2u);  // frames 0 and 8
    EXPECT_EQ(drawing->dots[1].points[1].x, drawing->line[8].x);
    ASSERT_EQ(drawing->dots[2].points.size(), 1u);
    EXPECT_EQ(drawing->dots[2].points[0].x, atFour[1].Translation().x);
    EXPECT_EQ(drawing->dots[2].points[0].color, kPathCurrentColour);
    EXPECT_GT(drawing->dots[2].size, drawing->dots[1].size);

    // Set at frame 12 through the timeline, then undone: the path follows both.
    const float before = display.Drawing()->line[12].x;
    f.session.SetCurrentFrame(12);
    scene.PartAt(1)->localPosition = {-40, 0, 0};
    ASSERT_TRUE(f.session.Timeline().SetKeyHere());
    EXPECT_EQ(display.Drawing()->line[12].x, WorldPoseAt(scene, scene.MotionAt(0), 12)[1].Translation().x);
    EXPECT_NE(display.Drawing()->line[12].x, before);
    f.session.History().Undo();
    EXPECT_EQ(display.Drawing()->line[12].x, before);

    f.session.SetPlaying(true);
    EXPECT_EQ(display.Drawing(), nullptr);
    f.session.SetPlaying(false);
    f.session.SelectPart(-1);
    EXPECT_EQ(display.Drawing(), nullptr);
}

TEST(KeyMarkerShape, EachInterpolationHasItsShapeAndTheStepsHalfIsFilledOnTheLeft)
{
    EXPECT_EQ(KeyMarkerShapeOf(InterpolationKind::Linear), KeyMarkerShape::Square);
    EXPECT_EQ(KeyMarkerShapeOf(InterpolationKind::Smooth), KeyMarkerShape::Diamond);
    EXPECT_EQ(KeyMarkerShapeOf(InterpolationKind::Ease), KeyMarkerShape::Hourglass);
    EXPECT_EQ(KeyMarkerShapeOf(InterpolationKind::Step), KeyMarkerShape::HalfFilledSquare);
    const KeyMarkerPolygons step = KeyMarkerPolygonsOf(KeyMarkerShape::HalfFilledSquare, 50, 20, 2);
    ASSERT_EQ(step.filled.size(), 4u);
    for (const MarkerPoint& point : step.filled) EXPECT_LE(point.x, 50);
    EXPECT_TRUE(KeyMarkerPolygonsOf(KeyMarkerShape::Square, 50, 20, 2).filled.empty());
    // The hourglass's corners cross: its second and third points lie on opposite corners.
    const KeyMarkerPolygons hourglass = KeyMarkerPolygonsOf(KeyMarkerShape::Hourglass, 50, 20, 2);
    EXPECT_EQ(hourglass.outline[1].x, 52);
    EXPECT_EQ(hourglass.outline[2].x, 48);
    EXPECT_EQ(hourglass.outline[1].y, 18);
    EXPECT_EQ(hourglass.outline[2].y, 22);
}
