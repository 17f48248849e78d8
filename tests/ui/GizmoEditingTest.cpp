#include "app/CommandIds.h"
#include "editor/MenuCommandIds.h"
#include "support/SceneParts.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QMouseEvent>
#include <QTreeWidget>
#include <QtTest>

using namespace m3d;

namespace {

void Send(QWidget& widget, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(p), QPointF(widget.mapToGlobal(p)), button, held, modifiers);
    QCoreApplication::sendEvent(&widget, &event);
}

void Click(QWidget& widget, QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    Send(widget, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, modifiers);
    Send(widget, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, modifiers);
}

// Whether a pixel within one of p shows colour (lines may land a pixel off).
bool ShowsColourNear(const QImage& image, QPoint p, uint32_t colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if ((image.pixel(p + QPoint(dx, dy)) | 0xFF000000u) == colour) return true;
    return false;
}

}  // namespace

// Two boxes one behind the other as the Front view (2) sees them: "east"
// around (150, 0, 0) and "far" around (150, 0, 200), 80 units wide, both with
// their pivot at the origin.
class GizmoEditingTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    Scene& TheScene() { return app->scene; }
    RenderWidget& Window() { return app->Render(); }
    EditorSession& Session() { return app->session; }
    // Steps behind the present point (an undone one is dropped by the next).
    int Steps() { return Session().History().Position(); }
    QPoint Pixel(int view, Vec3 p)
    {
        const PixelPoint at = *Session().Views().PixelOf(view, p);
        return {int(std::lround(at.x)), int(std::lround(at.y))};
    }
    QString SelectedInTree()
    {
        auto* tree = app->Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        return tree->currentItem() ? tree->currentItem()->text(0) : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        {
            Scene scratch;
            sceneparts::AddBoxPart(scratch, folder, "east", {150, 0, 0}, 40);
            sceneparts::AddBoxPart(scratch, folder, "far", {150, 0, 200}, 40);
        }
        app = std::make_unique<RunningApp>(folder.File("gizmo.ini"), folder.File("east.mesh"));
        TheScene().SelectTreeItem(TheScene().rootPart.treeItem);
        app->Form().OpenStartupFile(folder.File("far.mesh"));
        QCOMPARE(TheScene().PartCount(), 2);
        for (ViewDisplay& display : app->Form().Displays()) display.drawMode = 1;
    }
    void cleanupTestCase() { app.reset(); }

    void theGizmoShowsOnTheSelectedPartAndAnArrowDragMovesAlongItsAxisOnly()
    {
        Session().SelectPart(0);
        const QPoint arrow = Pixel(2, {0, 0, 0}) + QPoint(90, 0);
        QVERIFY(ShowsColourNear(app->Grab(), arrow, kGizmoAxisColours[0]));
        // The handle under the pointer stands out.
        Send(Window(), QEvent::MouseMove, arrow, Qt::NoButton, Qt::NoButton);
        QVERIFY(ShowsColourNear(app->Grab(), arrow, kGizmoHighlightColour));

        const int before = Steps();
        Send(Window(), QEvent::MouseButtonPress, arrow, Qt::LeftButton, Qt::LeftButton);
        for (int k = 1; k <= 5; ++k)
            Send(Window(), QEvent::MouseMove, arrow + QPoint(4 * k, 2 * k), Qt::NoButton, Qt::LeftButton);
        Send(Window(), QEvent::MouseButtonRelease, arrow + QPoint(20, 10), Qt::LeftButton, Qt::NoButton);
        const Vec3 moved = TheScene().WorldMatrixOf(0).Translation();
        QCOMPARE(moved.x, 20.0f * Session().Views().scale);
        QCOMPARE(moved.y, 0.0f);
        QCOMPARE(moved.z, 0.0f);
        QCOMPARE(Steps(), before + 1);
        Session().History().Undo();

        // View > Local Axes is a switch.
        QAction* localAxes = app->frame->Action(ID_VIEW_LOCAL_AXES);
        QVERIFY(localAxes->isChecked());
        localAxes->trigger();
        QCOMPARE(Session().Posing().Space(), AxisSpace::World);
        QVERIFY(!localAxes->isChecked());
        localAxes->trigger();
    }

    void altClicksGoThroughThePartsUnderThePointerAndAClickKeepsTheSelectedOne()
    {
        Session().SelectPart(-1);
        const QPoint face = Pixel(2, {150, 0, 0}) + QPoint(4, 7);  // clear of the gizmo's X arrow
        const int before = Steps();
        for (const char* name : {"east", "far", "east", "far"}) {
            Click(Window(), face, Qt::AltModifier);
            QCOMPARE(SelectedInTree(), QString(name));
        }
        // "far" is behind "east" here, yet a click keeps it.
        Click(Window(), face);
        QCOMPARE(Session().CurrentPart(), 1);
        QCOMPARE(Steps(), before);
    }

    void theKeysDragFromThePointerAndEscapeOrEnterEndTheDrag()
    {
        Session().SelectPart(0);
        app->frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app->frame.get()));
        QWidget& form = app->Form();
        form.setFocus();
        const QPoint start = Pixel(2, {0, 0, 0}) + QPoint(30, 30);
        const Matrix4 before = TheScene().WorldMatrixOf(0);
        const int steps = Steps();
        Send(Window(), QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
        QTest::keyClick(&form, Qt::Key_G);
        QVERIFY(Session().Posing().DraggingByKeys());
        Send(Window(), QEvent::MouseMove, start + QPoint(20, -10), Qt::NoButton, Qt::NoButton);
        const float scale = Session().Views().scale;
        QCOMPARE(TheScene().WorldMatrixOf(0).Translation().x, 20.0f * scale);
        QCOMPARE(TheScene().WorldMatrixOf(0).Translation().y, 10.0f * scale);
        QTest::keyClick(&form, Qt::Key_Y);
        QCOMPARE(TheScene().WorldMatrixOf(0).Translation().x, 0.0f);
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!Session().Posing().Dragging());
        QVERIFY(TheScene().WorldMatrixOf(0) == before);
        QCOMPARE(Steps(), steps);

        QTest::keyClick(&form, Qt::Key_R);
        Send(Window(), QEvent::MouseMove, start + QPoint(-40, 10), Qt::NoButton, Qt::NoButton);
        QTest::keyClick(&form, Qt::Key_Return);
        QVERIFY(!Session().Posing().Dragging());
        QVERIFY(!(TheScene().WorldMatrixOf(0) == before));
        QCOMPARE(Steps(), steps + 1);
    }
};

M3D_UI_TEST(GizmoEditingTest);
#include "GizmoEditingTest.moc"
