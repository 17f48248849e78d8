#include "anim/MotionOperations.h"
#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/ElidingComboBox.h"
#include "app/MotionPanel.h"
#include "editor/MotionCommands.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include "settings/ProfileFile.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QtTest>

using namespace m3d;

namespace {

void PressButton(QDialog* dialog, const QString& text)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->text() == text) button->click();
}

// Types name into the motion name dialog and presses "決定"; refused is
// whether a message box is expected, whose text is returned.
QString Decide(QDialog* dialog, const QString& name, bool refused = true)
{
    dialog->findChild<QLineEdit*>(IdName(IDC_MOTION_NAME))->setText(name);
    auto said = std::make_shared<QString>();
    if (refused) {
        AnswerNextDialog<QMessageBox>([said](QMessageBox* box) {
            *said = box->text();
            box->accept();
        });
    }
    PressButton(dialog, QStringLiteral("決定"));
    return *said;
}

}  // namespace

// Two boxes and the motion panel, driven as the user would.
class MotionPanelTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    EditorSession& Session() { return app->session; }
    Scene& TheScene() { return app->scene; }
    MotionPanel& Panel() { return *app->Form().findChild<MotionPanel*>(IdName(IDD_MOTION_PANEL)); }
    QAbstractButton* Button(int id) { return Panel().findChild<QAbstractButton*>(IdName(id)); }
    QString Label(int id) { return Panel().findChild<QLabel*>(IdName(id))->text(); }
    void Click(int id) { QTest::mouseClick(Button(id), Qt::LeftButton); }
    bool HasKey(int part, int frame) { return TheScene().Motions()[0].tracks[size_t(part)].FindKey(frame) >= 0; }

private Q_SLOTS:
    void initTestCase()
    {
        app = OpenTwoBoxes(folder, folder.File("motion.ini"));
        QCOMPARE(TheScene().PartCount(), 2);
    }
    void cleanupTestCase()
    {
        AnswerNextMessageBox(QMessageBox::No);  // the close question
        app.reset();
        QCOMPARE(unexpectedDialog, QString());
        // The panel's size and the timeline's zoom are remembered.
        ProfileFile settings;
        QVERIFY(settings.Load(folder.File("motion.ini")));
        QCOMPARE(settings.GetString("TIMELINE", "PANEL_HEIGHT", ""), std::string("243"));
        QCOMPARE(settings.GetString("TIMELINE", "FRAME_PIXELS", ""), std::string("2"));
    }

    void nameDialogRefusesEmptyLongAndTakenNamesAndLengthDialogSets()
    {
        // Without a Motion the button is there and does nothing.
        QVERIFY(Button(IDC_MOTION_DELETE)->isEnabled());
        Click(IDC_MOTION_DELETE);
        QVERIFY(TheScene().Motions().empty());
        AnswerNextDialog([](QDialog* dialog) {
            QCOMPARE(dialog->objectName(), IdName(IDD_MOTION_NAME));
            QCOMPARE(dialog->windowTitle(), QString("モーション名入力"));
            QCOMPARE(dialog->findChild<QLineEdit*>(IdName(IDC_MOTION_NAME))->text(), QString("Default"));
            QCOMPARE(Decide(dialog, ""), QString("名前が入力されていません"));
            QCOMPARE(Decide(dialog, "あいうえおかきくけ"), QString("モーション名は16文字までです"));
            QVERIFY(dialog->isVisible());
            QCOMPARE(Decide(dialog, "walk", false), QString());
        });
        Click(IDC_MOTION_NEW);
        QCOMPARE(TheScene().Motions().size(), size_t(1));
        QCOMPARE(TheScene().Motions()[0].name, std::string("walk"));
        QCOMPARE(Session().CurrentMotion(), 0);
        QCOMPARE(Label(IDC_MOTION_LENGTH_LABEL), QString("全体:60"));

        AnswerNextDialog([](QDialog* dialog) {
            QCOMPARE(Decide(dialog, "walk"), QString("同じモーション名があります"));
            QCOMPARE(Decide(dialog, "run", false), QString());
        });
        Click(IDC_MOTION_RENAME);
        QCOMPARE(TheScene().Motions()[0].name, std::string("run"));

        AnswerNextDialog([](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("モーションの長さを入力"));
            auto* field = dialog->findChild<QLineEdit*>(IdName(IDC_MOTION_LENGTH));
            QCOMPARE(field->text(), QString("60"));
            field->selectAll();
            QTest::keyClicks(field, "100");
            PressButton(dialog, QStringLiteral("設定"));
        });
        Click(IDC_MOTION_CHANGE_LENGTH);
        QCOMPARE(TheScene().Motions()[0].length, 100);
        QCOMPARE(Label(IDC_MOTION_LENGTH_LABEL), QString("全体:100"));
    }

    void clickPicksFrameAndRowAndKeysFollowTheButtons()
    {
        // Row 1 (the second Part), frame 12.
        QTest::mouseClick(&Panel(), Qt::LeftButton, {}, QPoint(86 + 5 * 12 + 2, 37 + 15 + 7));
        QCOMPARE(Session().CurrentFrame(), 12);
        QCOMPARE(Session().CurrentPart(), 1);
        QCOMPARE(Label(IDC_MOTION_CURRENT_FRAME), QString("現在:12"));
        Click(IDC_MOTION_SET_KEY);
        QVERIFY(HasKey(1, 12));
        QVERIFY(!HasKey(0, 12));
        Click(IDC_MOTION_DELETE_KEY);
        QVERIFY(!HasKey(1, 12));
        Click(IDC_MOTION_SET_ALL_KEYS);
        QVERIFY(HasKey(0, 12) && HasKey(1, 12));
        Click(IDC_MOTION_DELETE_ALL_KEYS);
        QVERIFY(!HasKey(0, 12) && !HasKey(1, 12));
    }

    void playLocksTheEditingControlsAndStopRecordsOneStep()
    {
        auto* rate = Panel().findChild<QLineEdit*>(IdName(IDC_MOTION_FRAME_RATE));
        rate->selectAll();
        QTest::keyClicks(rate, "120");
        // A key ahead, so that playback moves the pose.
        QVERIFY(SetKeyMatrix(TheScene(), 0, 0, 50, MatrixTranslation(3, 0, 0)));
        const int frame = Session().CurrentFrame();
        Click(IDC_MOTION_PLAY);
        QVERIFY(Session().IsPlaying());
        QCOMPARE(Session().Playback().FrameInterval(), 8);
        for (int id : {IDC_MOTION_NEW, IDC_MOTION_SET_KEY, IDC_MOTION_COPY_KEYS, IDC_MOTION_CHANGE_LENGTH})
            QVERIFY(!Button(id)->isEnabled());
        QVERIFY(!rate->isEnabled());
        QVERIFY(Button(IDC_MOTION_STOP)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(Session().CurrentFrame() > frame + 3, 5000);
        const int steps = Session().History().Position();
        Click(IDC_MOTION_STOP);
        Click(IDC_MOTION_STOP);
        QVERIFY(!Session().IsPlaying());
        QCOMPARE(Session().History().Position(), steps + 1);
        QVERIFY(Button(IDC_MOTION_NEW)->isEnabled());
    }

    void choosingAMotionGivesTheKeysBackAndShowsALongNameShortened()
    {
        QVERIFY(NewMotionCommand(Session(), "歩く動作テスト"));
        auto* list = Panel().findChild<ElidingComboBox*>(IdName(IDC_MOTION_LIST));
        QCOMPARE(list->currentText(), QString("歩く動作テスト"));
        // Too wide for the closed list: its end gives way to "…", its start stays.
        QVERIFY2(list->DisplayedText().startsWith("歩く") && list->DisplayedText().endsWith("…"),
                 qPrintable(list->DisplayedText()));

        app->frame->activateWindow();
        list->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(Session().CurrentMotion(), 0);
        // The main window has the keys again: a further arrow key chooses nothing.
        QCOMPARE(QApplication::focusWidget(), &app->Form());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(Session().CurrentMotion(), 0);
        QCOMPARE(list->DisplayedText(), QString::fromStdString(TheScene().Motions()[0].name));
    }

    void mainWindowKeysStepPlayAndSetKeysWhileTheTreeKeepsItsArrows()
    {
        QVERIFY(SetKeyMatrix(TheScene(), 0, 0, 20, MatrixTranslation(5, 0, 0)));
        Session().SelectPart(0);
        app->frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->frame.get()));
        QWidget& form = app->Form();
        form.setFocus();
        QTest::keyClick(&form, Qt::Key_End);
        QCOMPARE(Session().CurrentFrame(), 100);
        QTest::keyClick(&form, Qt::Key_Home);
        QTest::keyClick(&form, Qt::Key_Right);
        QCOMPARE(Session().CurrentFrame(), 1);
        QTest::keyClick(&form, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(Session().CurrentFrame(), 20);
        QCOMPARE(TheScene().Parts()[0]->localPosition.x, 5.0f);  // the pose there is shown
        QTest::keyClick(&form, Qt::Key_Right);
        QTest::keyClick(&form, Qt::Key_K);
        QVERIFY(HasKey(0, 21));
        QTest::keyClick(&form, Qt::Key_K, Qt::AltModifier);
        QVERIFY(!HasKey(0, 21));
        QTest::keyClick(&form, Qt::Key_K, Qt::ShiftModifier);
        QVERIFY(HasKey(0, 21) && HasKey(1, 21));
        QTest::keyClick(&form, Qt::Key_Space);
        QVERIFY(Session().IsPlaying());
        QTest::keyClick(&form, Qt::Key_Space);
        QVERIFY(!Session().IsPlaying());
        // With the focus in the parts tree its arrows are its own.
        const int frame = Session().CurrentFrame();
        auto* tree = app->Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Left);
        QCOMPARE(Session().CurrentFrame(), frame);
    }

    void keysDragAlongTheTimelineAndCtrlWheelZoomsIt()
    {
        QVERIFY(SetKeyMatrix(TheScene(), 0, 1, 30, MatrixTranslation(3, 0, 0)));
        Session().Timeline().ResetToStart();
        Panel().update();
        const int row1 = 37 + 15 + 8;
        QTest::mousePress(&Panel(), Qt::LeftButton, {}, QPoint(86 + 5 * 30, row1));
        QTest::mouseMove(&Panel(), QPoint(86 + 5 * 40, row1));
        QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, QPoint(86 + 5 * 40, row1));
        QVERIFY(!HasKey(1, 30));
        QVERIFY(HasKey(1, 40));
        QCOMPARE(Session().History().UndoLabel(), std::string("キーの移動"));

        auto* second = Panel().findChild<QLabel*>(IdName(IDC_MOTION_RULER_FIRST + 1));
        QCOMPARE(second->text(), QString("10"));
        const QPointF at(200, 100);
        QWheelEvent wheel(at, Panel().mapToGlobal(at), {}, QPoint(0, -360), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Panel(), &wheel);
        QCOMPARE(Session().Timeline().FramePixels(), 2);
        QCOMPARE(second->text(), QString("20"));
    }

    void theSplitterMakesThePanelTallerAndNarrower()
    {
        QWidget& form = app->Form();
        QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(500, 601));
        QTest::mouseMove(&form, QPoint(500, 556));
        QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(500, 556));
        // The panel follows the window's width up to the width strip at its right edge.
        const int roomy = 1000 - 333 - 5;
        QCOMPARE(Panel().geometry(), QRect(333, 558, roomy, 243));
        QCOMPARE(app->Render().height(), 555);
        QCOMPARE(Session().Timeline().Geometry().Rows(), 11);
        QVERIFY(Panel().findChild<QLabel*>(IdName(IDC_MOTION_ROW_NAME_MORE_FIRST + 2))->isVisible());
        auto* frames = Panel().findChild<QWidget*>(IdName(IDC_MOTION_FRAMES_SCROLL));
        const QRect designed = DialogUnitsToPixels({46, 106, 205, 11});
        QCOMPARE(frames->geometry().translated(0, -45).topLeft(), designed.topLeft());
        QCOMPARE(frames->width(), designed.width() + roomy - 460);
        // Dragged narrower, it keeps that width.
        QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(333 + roomy + 2, 700));
        QTest::mouseMove(&form, QPoint(333 + roomy - 98, 700));
        QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(333 + roomy - 98, 700));
        QCOMPARE(Panel().width(), roomy - 100);
        QCOMPARE(frames->width(), designed.width() + roomy - 100 - 460);
    }
};

M3D_UI_TEST(MotionPanelTest);
#include "MotionPanelTest.moc"
