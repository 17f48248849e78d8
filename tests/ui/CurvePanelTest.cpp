#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "app/CommandIds.h"
#include "app/CurvePanel.h"
#include "editor/MenuCommandIds.h"
#include "editor/MotionCommands.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"
#include "view/WindowLayout.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include <algorithm>

using namespace m3d;

// Two boxes, a Motion moving "left" (Part 1), and the curve panel, driven as the user would.
class CurvePanelTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    CurvePanel* Panel() { return app->Form().findChild<CurvePanel*>(IdName(IDD_CURVE_PANEL)); }
    void ToggleCurves() { app->frame->Action(ID_VIEW_CURVES)->trigger(); }

private Q_SLOTS:
    void initTestCase()
    {
        app = OpenTwoBoxes(folder, folder.File("curves.ini"));
        QVERIFY(NewMotionCommand(app->session, "walk"));
        QVERIFY(SetKeyMatrix(app->scene, 0, 1, 30, MatrixTranslation(-20, 50, 0)));
        app->session.Events().Publish(MotionKeysChanged{0});
        app->session.SelectPart(1);
    }
    void cleanupTestCase()
    {
        AnswerNextMessageBox(QMessageBox::No);  // the close question
        app.reset();
        QCOMPARE(unexpectedDialog, QString());
    }

    void viewCurvesShowsAStripThatTakesItsHeightFromTheViews()
    {
        QVERIFY(!Panel()->isVisible());
        const int fullHeight = app->Render().height();
        ToggleCurves();
        QVERIFY(app->session.CurvePanelShown());
        QVERIFY(Panel()->isVisible());
        QCOMPARE(Panel()->height(), kCurvePanelHeight);
        QCOMPARE(app->Render().height(), fullHeight - kCurvePanelHeight);
        QCOMPARE(Panel()->geometry().top(), app->Render().geometry().bottom() + 1);
        QCOMPARE(Panel()->geometry().left(), app->Render().geometry().left());
        QCOMPARE(Panel()->geometry().right(), app->Form().width() - 1);
        QVERIFY(!Panel()->findChild<QLabel*>(IdName(IDC_CURVE_MESSAGE))->isVisible());
    }

    void aClickOnTheCurvesGoesToTheFrameUnderItWithItsPose()
    {
        QVERIFY(Panel()->State().Curves() != nullptr);  // fitted to them, as the first paint does
        const CurvePlot& plot = Panel()->State().Plot();
        const QPoint at(int(std::lround(plot.XOf(12))), plot.Area().bottom - 3);
        QTest::mouseClick(Panel(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(app->session.CurrentFrame(), 12);
        QCOMPARE(app->scene.PartAt(1)->localPosition.y,
                 PartPoseAt(app->scene, app->scene.MotionAt(0), 1, 12).localPosition.y);
        QVERIFY(app->scene.PartAt(1)->localPosition.y > 0.0f);
    }

    void normaliseFillsThePlotWithEachCurve()
    {
        auto* normalise = Panel()->findChild<QCheckBox*>(IdName(IDC_CURVE_NORMALISE));
        QVERIFY(normalise != nullptr);
        QCOMPARE(normalise->accessibleDescription(), IdName(IDC_CURVE_NORMALISE));
        QVERIFY(!normalise->accessibleName().isEmpty());
        QTest::mouseClick(normalise, Qt::LeftButton);
        QVERIFY(Panel()->State().Normalised());
        // Part 1 rises by 50: the top of its y curve is the plot's top.
        const std::vector<double>& y = Panel()->State().Curves()->values[size_t(CurveChannel::Y)];
        const CurvePlot& plot = Panel()->State().Plot();
        QCOMPARE(plot.YOf(*std::max_element(y.begin(), y.end())), double(plot.Area().top));
        QTest::mouseClick(normalise, Qt::LeftButton);
        QVERIFY(!Panel()->State().Normalised());
    }

    void withoutAPartThePanelSaysSo()
    {
        app->session.SelectPart(-1);
        auto* message = Panel()->findChild<QLabel*>(IdName(IDC_CURVE_MESSAGE));
        QVERIFY(message->isVisible());
        QCOMPARE(message->text(), QString("パーツが選択されていません"));
        app->session.SelectPart(1);
        QVERIFY(!message->isVisible());
    }

    void viewCurvesAgainGivesTheViewsTheirHeightBack()
    {
        const int shorter = app->Render().height();
        ToggleCurves();
        QVERIFY(!Panel()->isVisible());
        QCOMPARE(app->Render().height(), shorter + kCurvePanelHeight);
    }
};

M3D_UI_TEST(CurvePanelTest);
#include "CurvePanelTest.moc"
