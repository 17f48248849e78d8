// Not a test: the pictures of the user guide, taken from the real window on
// the sample figure. tools/make_screenshots.sh runs this class under Xvfb
// with M3D_SCREENSHOT_DIR naming the folder to write to; without it the
// class does nothing, and ctest does not run it.
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "app/CurvePanel.h"
#include "app/CommandIds.h"
#include "editor/DisplayCommands.h"
#include "editor/MenuCommandIds.h"
#include "editor/MotionCommands.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QDir>
#include <QtTest>

using namespace m3d;

class GuideScreenshots : public QObject {
    Q_OBJECT
private:
    TempFolder folder;

    // Saves picture as name in folderPath; fails the run when it cannot.
    static void Save(const QPixmap& picture, const QString& folderPath, const QString& name)
    {
        const QString path = QDir(folderPath).filePath(name);
        QVERIFY2(picture.save(path), qPrintable(path));
    }

private Q_SLOTS:
    void takeTheGuidePictures()
    {
        const QString out = qEnvironmentVariable("M3D_SCREENSHOT_DIR");
        if (out.isEmpty()) QSKIP("M3D_SCREENSHOT_DIR is not set");
        QVERIFY(QDir().mkpath(out));
        RunningApp app(folder.File("guide.ini"), M3D_SAMPLE_FIGURE, 1200, 860);
        EditorSession& session = app.session;
        Scene& scene = app.scene;
        QVERIFY(scene.PartCount() > 0 && !scene.Motions().empty());

        // The walk at a stride, with an arm selected so that the panels show numbers.
        session.SelectMotion(0);
        session.SetCurrentFrame(20);
        EvaluatePose(scene, session.CurrentMotion(), session.CurrentFrame());
        for (int i = 0; i < scene.PartCount(); ++i)
            if (scene.Parts()[size_t(i)]->displayName == "upper_arm_r") session.SelectPart(i);
        session.ShowCurrentTransform();
        session.FitWholeModel();
        app.Form().RequestRedraw();
        QTest::qWait(500);

        Save(app.Shown(*app.frame, app.frame->rect()), out, QStringLiteral("main-window.png"));
        const QWidget* parts = app.Form().findChild<QWidget*>(IdName(IDD_PARTS_PANEL));
        const QWidget* transform = app.Form().findChild<QWidget*>(IdName(IDD_TRANSFORM_PANEL));
        const QWidget* tree = app.Form().findChild<QWidget*>(IdName(IDD_PARTS_TREE));
        const QWidget* motion = app.Form().findChild<QWidget*>(IdName(IDD_MOTION_PANEL));
        QVERIFY(parts && transform && tree && motion);
        Save(app.Shown(app.Form(), parts->geometry().united(transform->geometry())), out, QStringLiteral("panels.png"));
        // The walk as a loop: its keys repeat in grey past its end.
        QVERIFY(SetMotionLoopCommand(session, 0, true));
        QTest::qWait(200);
        Save(app.Shown(app.Form(), tree->geometry().united(motion->geometry())), out,
             QStringLiteral("tree-and-motion.png"));

        // The onion skin in the Pers view shown alone, halfway between two keys of the walk.
        session.SetCurrentFrame(15);
        EvaluatePose(scene, session.CurrentMotion(), session.CurrentFrame());
        session.SelectPart(-1);
        ToggleLayoutCommand(session, 1);
        session.Displays()[1].onionSkin = 1;
        session.Events().Publish(ViewsChanged{});
        app.Form().RequestRedraw();
        QTest::qWait(500);
        Save(app.Shown(app.Form(), app.Form().RenderWindow()->geometry()), out, QStringLiteral("onion-skin.png"));

        // The curve panel under the Pers view: the right knee over the walk,
        // one of its keys eased, and its path in the view.
        session.Displays()[1].onionSkin = 0;
        for (int i = 0; i < scene.PartCount(); ++i)
            if (scene.Parts()[size_t(i)]->displayName == "lower_leg_r") session.SelectPart(i);
        const MotionTrack& knee = scene.MotionAt(session.CurrentMotion()).tracks[size_t(session.CurrentPart())];
        QVERIFY(knee.keys.size() > 2);
        QVERIFY(SetKeyInterpolation(scene, session.CurrentMotion(), session.CurrentPart(), knee.keys[1].frame,
                                    KeyInterpolation::EaseInOut()));
        session.Events().Publish(MotionKeysChanged{session.CurrentMotion()});
        session.Displays()[1].motionPath = 1;
        app.frame->Action(ID_VIEW_CURVES)->trigger();
        session.Events().Publish(ViewsChanged{});
        app.Form().RequestRedraw();
        QTest::qWait(500);
        auto* curves = app.Form().findChild<CurvePanel*>(IdName(IDD_CURVE_PANEL));
        QVERIFY(curves && curves->isVisible());
        // One of the knee's keys picked on its pitch curve and made smooth: its value in the field, its handles.
        CurvePanelState& curveState = curves->State();
        QVERIFY(curveState.Curves());
        const int pickedFrame = knee.keys[2].frame;
        curveState.LeftDown(
            int(std::lround(curveState.Plot().XOf(pickedFrame))),
            int(std::lround(curveState.Plot().YOf(curveState.Curves()->Value(CurveChannel::Pitch, pickedFrame)))));
        curveState.LeftUp();
        QVERIFY(!curveState.Selection().empty());
        QVERIFY(curveState.SetSelectedInterpolation(KeyInterpolation::AutoClamped()));
        curves->update();
        QTest::qWait(200);
        Save(app.Shown(app.Form(), app.Form().RenderWindow()->geometry().united(curves->geometry())), out,
             QStringLiteral("curves.png"));

        // IK: both feet pinned, the torso pulled down, the knees bending.
        app.frame->Action(ID_VIEW_CURVES)->trigger();
        session.Displays()[1].motionPath = 0;
        session.SetCurrentFrame(0);
        EvaluatePose(scene, session.CurrentMotion(), session.CurrentFrame());
        int torso = -1;
        for (int i = 0; i < scene.PartCount(); ++i) {
            const std::string& name = scene.Parts()[size_t(i)]->displayName;
            if (name == "foot_l" || name == "foot_r") session.Ik().SetPinned(i, true);
            if (name == "torso") torso = i;
        }
        QVERIFY(torso >= 0);
        // Seen from the side, the hips pulled down by a quarter of their height above the feet.
        session.Views().SetViewType(1, ViewType::Left);
        session.FitWholeModel();
        session.SelectPart(torso);
        session.Ik().SetEnabled(true);
        const Vec3 hips = scene.WorldMatrixOf(torso).Translation();
        const float drop = 0.25f * (hips.y - session.Ik().PinMarks().dots.at(0).points.at(0).y);
        const std::optional<PixelPoint> from = session.Views().PixelOf(1, hips);
        const std::optional<PixelPoint> to = session.Views().PixelOf(1, hips - Vec3{0, drop, 0});
        QVERIFY(from && to && session.Ik().StartDrag(1, int(from->x), int(from->y), torso));
        session.Ik().DragTo(int(to->x), int(to->y));
        session.Ik().ConfirmDrag();
        session.SelectPart(-1);
        session.Events().Publish(ViewsChanged{});
        app.Form().RequestRedraw();
        QTest::qWait(500);
        Save(app.Shown(app.Form(), app.Form().RenderWindow()->geometry()), out, QStringLiteral("ik.png"));

        AnswerNextMessageBox(QMessageBox::No);  // the close question
        app.Close();
    }
};

M3D_UI_TEST(GuideScreenshots);
#include "GuideScreenshots.moc"
