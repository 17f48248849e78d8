#include "app/CommandIds.h"
#include "editor/MotionCommands.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"
#include "view/PoseOperations.h"
#include "view/TransformOperations.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include <array>
#include <fstream>

using namespace m3d;

namespace {

using Row = std::array<int, 3>;
const Row kRelativeRotation{IDC_RELATIVE_ROTATION_H, IDC_RELATIVE_ROTATION_P, IDC_RELATIVE_ROTATION_B};
const Row kAbsoluteRotation{IDC_ABSOLUTE_ROTATION_H, IDC_ABSOLUTE_ROTATION_P, IDC_ABSOLUTE_ROTATION_B};
const Row kRelativePosition{IDC_RELATIVE_POSITION_X, IDC_RELATIVE_POSITION_Y, IDC_RELATIVE_POSITION_Z};
const Row kAbsolutePosition{IDC_ABSOLUTE_POSITION_X, IDC_ABSOLUTE_POSITION_Y, IDC_ABSOLUTE_POSITION_Z};

bool Near(float a, float b) { return std::abs(a - b) < 1e-3f; }
bool Near(Vec3 a, Vec3 b) { return Near(a.x, b.x) && Near(a.y, b.y) && Near(a.z, b.z); }
bool Near(HeadingPitchBank a, Vec3 b) { return Near(Vec3{a.h, a.p, a.b}, b); }

// Records the text of the next message box and closes it.
void AnswerMessage(QString& said)
{
    AnswerNextDialog([&said](QWidget* box) {
        said = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QMessageBox*>(box)->accept();
    });
}

void PressOk(QDialog* dialog)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->text() == "OK") button->click();
}

// Types text into a dialog's field, presses OK and answers the refusal;
// returns what the refusal said.
QString RefusedMessage(QDialog* dialog, QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
    QString said;
    AnswerMessage(said);
    PressOk(dialog);
    return said;
}

}  // namespace

// Two boxes named as partners: "right" (Part 0) at x 20 and "left" (Part 1) at x -20.
class TransformPanelTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    EditorSession& Session() { return app->session; }
    Scene& TheScene() { return app->scene; }
    int Snapshots() { return Session().History().StepCount(); }
    TransformValues Values(int part) { return TransformValuesOf(TheScene(), part); }
    QLineEdit* Field(int id) { return app->Form().findChild<QLineEdit*>(IdName(id)); }
    QAbstractButton* Button(int id) { return app->Form().findChild<QAbstractButton*>(IdName(id)); }
    void Click(int id) { QTest::mouseClick(Button(id), Qt::LeftButton); }
    void TypeRow(const Row& ids, const std::array<QString, 3>& texts)
    {
        for (size_t i = 0; i < ids.size(); ++i) {
            Field(ids[i])->selectAll();
            QTest::keyClicks(Field(ids[i]), texts[i]);
        }
    }
    // The three values a row shows.
    Vec3 Shown(const Row& ids)
    {
        return {Field(ids[0])->text().toFloat(), Field(ids[1])->text().toFloat(), Field(ids[2])->text().toFloat()};
    }
    // A key press with the focus outside the text fields, which keep Ctrl+Z for their text.
    void Keys(int key, Qt::KeyboardModifiers modifiers)
    {
        // Shortcuts reach the active window only; a message box answered
        // before may have left none active (there is no window manager).
        app->frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->frame.get()));
        app->Render().setFocus();
        QTest::keyClick(app->frame.get(), Qt::Key(key), modifiers);
    }

private Q_SLOTS:
    void initTestCase()
    {
        {
            // The grid planes of the settings file reach the check boxes.
            std::ofstream settings(folder.File("transform.ini"));
            settings << "[GRID]\nXY=1\nYZ=1\nZX=0\n";
        }
        app = OpenTwoBoxes(folder, folder.File("transform.ini"));
        QCOMPARE(TheScene().PartCount(), 2);
        TheScene().Parts()[0]->symmetryIndex = 1;
        TheScene().Parts()[1]->symmetryIndex = 0;
        app->frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->frame.get()));
    }
    void cleanupTestCase()
    {
        AnswerNextMessageBox(QMessageBox::No);  // the close question
        app.reset();
        QCOMPARE(unexpectedDialog, QString());
    }

    void setsApplyTheirRowAndWithLinkAlsoMoveThePartner()
    {
        Session().SelectPart(0);
        QVERIFY(!static_cast<QCheckBox*>(Button(IDC_LINK_LR))->isChecked());
        const int before = Snapshots();
        TypeRow(kAbsolutePosition, {"5", "2", "1"});
        Field(IDC_ABSOLUTE_POSITION_Z)->setFocus();  // where typing leaves it
        QCOMPARE(app->frame->focusWidget(), static_cast<QWidget*>(Field(IDC_ABSOLUTE_POSITION_Z)));
        Click(IDC_ABSOLUTE_POSITION_SET);
        QVERIFY(Near(Values(0).absolutePosition, {5, 2, 1}));
        QVERIFY(Near(Values(1).absolutePosition, {0, 0, 0}));
        QVERIFY(Near(Shown(kRelativePosition), {5, 2, 1}));
        QCOMPARE(Snapshots(), before + 1);
        // The keys are the main window's again: an arrow steps frames, not the field's cursor.
        QCOMPARE(app->frame->focusWidget(), static_cast<QWidget*>(&app->Form()));

        Click(IDC_LINK_LR);
        QCOMPARE(Session().TransformPanel().linkLR, 1);
        TypeRow(kAbsoluteRotation, {"30", "10", "20"});
        Click(IDC_ABSOLUTE_ROTATION_SET);
        QVERIFY(Near(Shown(kAbsoluteRotation), {30, 10, 20}));
        QVERIFY(Near(Values(1).absoluteRotation, {-30, 10, -20}));
        QCOMPARE(Session().CurrentPart(), 0);

        // The relative rows copy the reflected local values onto the partner.
        TypeRow(kRelativeRotation, {"40", "0", "0"});
        Click(IDC_RELATIVE_ROTATION_SET);
        QVERIFY(Near(Values(1).relativeRotation, {-40, 0, 0}));
        TypeRow(kRelativePosition, {"3", "4", "5"});
        Click(IDC_RELATIVE_POSITION_SET);
        QVERIFY(Near(TheScene().Parts()[1]->localPosition, {-3, 4, 5}));
        QVERIFY(Near(Shown(kAbsolutePosition), {3, 4, 5}));
        QCOMPARE(Snapshots(), before + 4);
    }

    void aFieldWithoutANumberIsShownAndNothingIsSet()
    {
        const Matrix4 pose = TheScene().Parts()[0]->localMatrix;
        const int before = Snapshots();
        TypeRow(kRelativeRotation, {"10", "abc", "0"});
        QString said;
        AnswerMessage(said);
        Click(IDC_RELATIVE_ROTATION_SET);
        QCOMPARE(said, QString("数値を入力してください。"));
        QCOMPARE(app->frame->focusWidget(), static_cast<QWidget*>(Field(IDC_RELATIVE_ROTATION_P)));
        QCOMPARE(Snapshots(), before);
        QVERIFY(std::memcmp(&pose, &TheScene().Parts()[0]->localMatrix, sizeof pose) == 0);
        // Corrected, the same press applies the row.
        TypeRow(kRelativeRotation, {"10", "0", "0"});
        Click(IDC_RELATIVE_ROTATION_SET);
        QVERIFY(Near(Values(0).relativeRotation, {10, 0, 0}));
    }

    void undoAndRedoWorkFromTheButtonsAndTheKeys()
    {
        Session().SelectPart(0);
        Session().History().Clear();
        QVERIFY(!Button(IDC_UNDO)->isEnabled());
        QVERIFY(!Button(IDC_REDO)->isEnabled());
        for (const char* x : {"1", "2"}) {
            TypeRow(kRelativePosition, {x, "0", "0"});
            Click(IDC_RELATIVE_POSITION_SET);
        }
        QVERIFY(Button(IDC_UNDO)->isEnabled());
        QVERIFY(!Button(IDC_REDO)->isEnabled());
        Click(IDC_UNDO);
        QCOMPARE(Field(IDC_RELATIVE_POSITION_X)->text(), QString("1"));
        QVERIFY(Button(IDC_REDO)->isEnabled());
        Keys(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Field(IDC_RELATIVE_POSITION_X)->text(), QString("3"));  // the pose of the restart
        QVERIFY(!Button(IDC_UNDO)->isEnabled());
        Keys(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Field(IDC_RELATIVE_POSITION_X)->text(), QString("1"));
        Keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Field(IDC_RELATIVE_POSITION_X)->text(), QString("2"));
        QVERIFY(!Button(IDC_REDO)->isEnabled());
        Click(IDC_UNDO);
        Click(IDC_REDO);
        QVERIFY(Near(TheScene().Parts()[0]->localPosition, {2, 0, 0}));
        QVERIFY(Near(TheScene().Parts()[1]->localPosition, {-2, 0, 0}));
    }

    void playbackLocksTheEditingButtons()
    {
        QVERIFY(Button(IDC_UNDO)->isEnabled());
        const int locked[] = {IDC_RELATIVE_ROTATION_SET,
                              IDC_ABSOLUTE_ROTATION_SET,
                              IDC_RELATIVE_POSITION_SET,
                              IDC_ABSOLUTE_POSITION_SET,
                              IDC_LINK_LR,
                              IDC_FIT_VIEWS,
                              IDC_UNDO,
                              IDC_REDO};
        Session().SetPlaying(true);
        for (int id : locked) QVERIFY2(!Button(id)->isEnabled(), qPrintable(IdName(id)));
        QVERIFY(Button(IDC_GRID_XY)->isEnabled());
        QVERIFY(Field(IDC_RELATIVE_ROTATION_H)->isEnabled());
        const int current = Session().History().Position();
        Keys(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Session().History().Position(), current);
        Session().SetPlaying(false);
        for (int id : locked)
            if (id != IDC_REDO) QVERIFY2(Button(id)->isEnabled(), qPrintable(IdName(id)));
        Session().Views().views[0].target = {999, 999, 999};
        Click(IDC_FIT_VIEWS);
        QVERIFY(!Near(Session().Views().views[0].target, {999, 999, 999}));
    }

    void gridCheckBoxesShowAndSetThePlanes()
    {
        auto checked = [this](int id) { return static_cast<QCheckBox*>(Button(id))->isChecked(); };
        QVERIFY(checked(IDC_GRID_XY) && checked(IDC_GRID_YZ) && !checked(IDC_GRID_ZX));
        Click(IDC_GRID_XY);
        Click(IDC_GRID_ZX);
        QCOMPARE(Session().Views().gridXY, 0);
        QCOMPARE(Session().Views().gridYZ, 1);
        QCOMPARE(Session().Views().gridZX, 1);
    }

    void optionMenuPoseCommandsEditThePose()
    {
        SetRelativeRotation(TheScene(), 0, {40, 0, 0});
        SetRelativeRotation(TheScene(), 1, {0, 0, 0});
        int before = Snapshots();
        app->frame->Action(ID_POSE_MIRROR)->trigger();
        QVERIFY(Near(Values(0).relativeRotation, {0, 0, 0}));
        QVERIFY(Near(Values(1).relativeRotation, {-40, 0, 0}));
        QCOMPARE(Snapshots(), before + 1);

        SetAbsoluteRotation(TheScene(), 0, {30, 20, 10});
        app->frame->Action(ID_POSE_LEVEL)->trigger();
        QVERIFY(Near(Values(0).absoluteRotation, {30, 0, 0}));
        QVERIFY(Near(Shown(kAbsoluteRotation), {30, 0, 0}));

        app->frame->Action(ID_POSE_GROUND)->trigger();
        float lowest = 1;
        QVERIFY(LowestModelY(TheScene(), lowest));
        QVERIFY(Near(lowest, 0));
        QCOMPARE(Snapshots(), before + 3);
    }

    void gridWidthDialogRefusesWidthsOutsideTheRange()
    {
        const int width = Session().Views().gridWidth;
        AnswerNextDialog([&](QWidget* widget) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            QCOMPARE(dialog->objectName(), IdName(IDD_GRID_WIDTH));
            QCOMPARE(dialog->windowTitle(), QString("グリッドの幅を変更"));
            auto* field = dialog->findChild<QLineEdit*>(IdName(IDC_GRID_WIDTH));
            QCOMPARE(field->text(), QString::number(width));
            QCOMPARE(RefusedMessage(dialog, field, "0"), QString("1 から 10000 までの整数を入力してください。"));
            QCOMPARE(RefusedMessage(dialog, field, "10001"), QString("1 から 10000 までの整数を入力してください。"));
            QVERIFY(dialog->isVisible());
            QCOMPARE(Session().Views().gridWidth, width);
            // The up arrow steps from the last width in range, not from the refused text.
            dialog->findChild<QWidget*>(IdName(IDC_GRID_WIDTH_SPIN))->findChildren<QToolButton*>().front()->click();
            QCOMPARE(field->text(), QString::number(width + 1));
            PressOk(dialog);
        });
        app->frame->Action(ID_GRID_WIDTH)->trigger();
        QCOMPARE(Session().Views().gridWidth, width + 1);
        QVERIFY(app->frame->windowTitle().contains(QString("グリッドの幅:%1").arg(width + 1)));
    }

    void scaleDialogRefusesFactorsOutsideTheRangeAndScalesTheKeys()
    {
        QVERIFY(NewMotionCommand(Session(), "walk"));
        const Vec3 key = TheScene().Motions()[0].tracks[1].keys[0].matrix.Translation();
        AnswerNextDialog([&](QWidget* widget) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            QCOMPARE(dialog->objectName(), IdName(IDD_MODEL_SCALE));
            QCOMPARE(dialog->windowTitle(), QString("スケールの変更"));
            auto* field = dialog->findChild<QLineEdit*>(IdName(IDC_MODEL_SCALE));
            QCOMPARE(field->text(), QString("1"));
            QCOMPARE(RefusedMessage(dialog, field, "0"), QString("0.0001 から 10000 までの数値を入力してください。"));
            QVERIFY(dialog->isVisible());
            QVERIFY(Near(TheScene().Motions()[0].tracks[1].keys[0].matrix.Translation(), key));
            field->selectAll();
            QTest::keyClicks(field, "2");
            PressOk(dialog);
        });
        app->frame->Action(ID_MODEL_SCALE)->trigger();
        QVERIFY(Near(TheScene().Motions()[0].tracks[1].keys[0].matrix.Translation(), key * 2));
        QVERIFY(Near(TheScene().Parts()[1]->localPosition, key * 2));
    }
};

M3D_UI_TEST(TransformPanelTest);
#include "TransformPanelTest.moc"
