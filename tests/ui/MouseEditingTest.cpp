#include "app/CommandIds.h"
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

// A press at from, moves in steps of at most 4 pixels to to, and a release there.
void Drag(QWidget& widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    Send(widget, QEvent::MouseButtonPress, from, button, button, modifiers);
    const QPoint delta = to - from;
    const int steps = std::max(1, std::max(std::abs(delta.x()), std::abs(delta.y())) / 4);
    for (int k = 1; k <= steps; ++k)
        Send(widget, QEvent::MouseMove, from + delta * k / steps, Qt::NoButton, button, modifiers);
    Send(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
}

void Click(QWidget& widget, QPoint p)
{
    Send(widget, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    Send(widget, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}

// Where a world point lands in view i, in render-window pixels.
QPoint OnScreen(const ViewState& views, int i, Vec3 p)
{
    const Vec3 ndc = TransformCoord(p, views.ViewMatrix(i) * views.ProjectionMatrix(i));
    const PixelRect r = views.Viewport(i);
    return {int(r.left + (ndc.x + 1) * 0.5f * float(r.Width())), int(r.top + (1 - ndc.y) * 0.5f * float(r.Height()))};
}

}  // namespace

// Two boxes as in the pixel tests: "east" at (150, 0, 0) and "near" at
// (0, 0, -150), 80 units wide. Front is view 2, Pers view 1.
class MouseEditingTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    Scene& TheScene() { return app->scene; }
    RenderWidget& Window() { return app->Render(); }
    EditorSession& Session() { return app->session; }
    int Snapshots() { return Session().History().StepCount(); }

private Q_SLOTS:
    void initTestCase()
    {
        {
            Scene scratch;
            sceneparts::AddBoxPart(scratch, folder, "east", {150, 0, 0}, 40);
            sceneparts::AddBoxPart(scratch, folder, "near", {0, 0, -150}, 40);
        }
        app = std::make_unique<RunningApp>(folder.File("mouse.ini"), folder.File("east.mesh"));
        TheScene().SelectTreeItem(TheScene().rootPart.treeItem);
        app->Form().OpenStartupFile(folder.File("near.mesh"));
        QCOMPARE(TheScene().PartCount(), 2);
        QCOMPARE(TheScene().Parts()[1]->parentIndex, -1);
        for (ViewDisplay& display : app->Form().Displays()) display.drawMode = 1;
    }
    void cleanupTestCase() { app.reset(); }

    void aClickOnAPartSelectsItWithoutAnUndoStep()
    {
        QCOMPARE(Session().CurrentPart(), 1);
        const int before = Snapshots();
        Click(Window(), {253, 457});  // east's front face in Front, clear of near's gizmo
        QCOMPARE(Session().CurrentPart(), 0);
        auto* tree = app->Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        QCOMPARE(tree->currentItem()->text(0), QString("east"));
        QCOMPARE(Snapshots(), before);
        QVERIFY(app->frame->windowTitle().contains("east"));
    }

    void anOrthographicDragMovesThePartAndIsOneUndoStep()
    {
        const int before = Snapshots();
        Drag(Window(), {253, 457}, {273, 447});  // below the gizmo's X arrow
        // 20 pixels right and 10 up at 5 units a pixel.
        const Vec3 moved = TheScene().WorldMatrixOf(0).Translation();
        QCOMPARE(moved.x, 100.0f);
        QCOMPARE(moved.y, 50.0f);
        QCOMPARE(moved.z, 0.0f);
        QCOMPARE(Snapshots(), before + 1);
        // The lit face is drawn where it went, and only there.
        const QImage image = app->Grab();
        QCOMPARE(image.pixel(273, 445), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(253, 455), qRgb(0x18, 0x18, 0x18));
        // Undo brings it back.
        Session().History().Undo();
        QCOMPARE(TheScene().WorldMatrixOf(0).Translation().x, 0.0f);
        Session().History().Redo();
        QCOMPARE(TheScene().WorldMatrixOf(0).Translation().x, 100.0f);
    }

    void aPerspectiveDragRotatesThePickedPart()
    {
        const ViewState& views = Session().Views();
        const QPoint near = OnScreen(views, 1, {0, 0, -190});  // near's front face centre
        Session().SelectPart(-1);                              // no gizmo in the way
        const int before = Snapshots();
        const Matrix4 start = TheScene().Parts()[1]->localMatrix;
        Drag(Window(), near, near + QPoint(30, 0));
        QCOMPARE(Session().CurrentPart(), 1);
        QVERIFY(!(TheScene().Parts()[1]->localMatrix == start));
        QCOMPARE(Snapshots(), before + 1);
        // A press and release on the spot changes nothing and records nothing.
        const Matrix4 turned = TheScene().Parts()[1]->localMatrix;
        Click(Window(), near);
        QVERIFY(TheScene().Parts()[1]->localMatrix == turned);
        QCOMPARE(Snapshots(), before + 1);
    }

    void theRightButtonOrbitsThePerspectiveCamera()
    {
        ViewState& views = Session().Views();
        const Vec3 eye = views.views[1].eye;
        const int before = Snapshots();
        Drag(Window(), {600, 100}, {640, 100}, Qt::RightButton);
        QVERIFY(!(views.views[1].eye.x == eye.x && views.views[1].eye.z == eye.z));
        QCOMPARE(views.views[1].savedPersEye.x, views.views[1].eye.x);
        QCOMPARE(Snapshots(), before);
    }

    void theCursorShowsTheSplitsAndDraggingThemMovesTheViews()
    {
        RenderWidget& w = Window();
        Send(w, QEvent::MouseMove, {452, 100}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(w.cursor().shape(), Qt::SizeHorCursor);
        Send(w, QEvent::MouseMove, {100, 299}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(w.cursor().shape(), Qt::SizeVerCursor);
        Send(w, QEvent::MouseMove, {452, 299}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(w.cursor().shape(), Qt::SizeAllCursor);
        Send(w, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::NoButton);
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);

        Drag(w, {452, 100}, {300, 120});
        const ViewState& views = Session().Views();
        QCOMPARE(views.splitX, 300.0f / 910.0f);
        QCOMPARE(views.splitY, 0.5f);
        QCOMPARE(views.views[0].rect.right, int(906 * (300.0f / 910.0f)) - 2);
        // The toolbars follow the views.
        for (QWidget* toolbar : app->Form().findChildren<QWidget*>(IdName(IDD_VIEW_TOOLBAR))) {
            QVERIFY(toolbar->isVisible());
            const PixelRect& r = views.views[toolbar->property("viewIndex").toInt()].rect;
            QCOMPARE(toolbar->x(), r.left + 92);
        }
        const QImage image = app->Grab();
        QCOMPARE(image.pixel(int(906 * (300.0f / 910.0f)) - 1, 50), qRgb(255, 0, 0));
        // Dragging the crossing far to the left stops 64 pixels from the edge.
        Drag(w, {int(906 * (300.0f / 910.0f)) - 1, 299}, {5, 299});
        QCOMPARE(views.splitX, 64.0f / 910.0f);
    }
};

M3D_UI_TEST(MouseEditingTest);
#include "MouseEditingTest.moc"
