#include "app/CommandIds.h"
#include "app/DisplayToolbar.h"
#include "app/DisplayToolbarPictures.h"
#include "settings/SettingsValues.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QAbstractButton>
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QScreen>
#include <QtTest>

#include <cmath>

using namespace m3d;

namespace {

// Runs answer on the next modal dialog from inside its own event loop.
template <class Answer>
void AnswerNextDialog(Answer answer)
{
    QTimer::singleShot(0, [answer] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        answer(QApplication::activeModalWidget());
    });
}

// The left button pressed, moved or released on widget at its point local,
// with the cursor wherever it is.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint local)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

bool Near(Vec3 a, Vec3 b, float tolerance)
{
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

QRgb Rgb(uint32_t argb) { return qRgb((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

}  // namespace

class DisplayToolbarTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    ViewState& Views() { return app->session.Views(); }
    DisplayToolbar* Toolbar(int view)
    {
        for (auto* toolbar : app->Form().findChildren<DisplayToolbar*>(IdName(IDD_VIEW_TOOLBAR)))
            if (toolbar->ViewIndex() == view) return toolbar;
        return nullptr;
    }
    template <class Control>
    Control* ControlOf(int view, int id)
    {
        return Toolbar(view)->findChild<Control*>(IdName(id));
    }
    QPoint DesktopCentre() const
    {
        const QRect desktop = app->Form().screen()->geometry();
        return {desktop.left() + desktop.width() / 2, desktop.top() + desktop.height() / 2};
    }
    // A drag on a picture of view's toolbar moving the parked cursor by each of steps.
    void DragPicture(int view, int id, std::initializer_list<QPoint> steps)
    {
        QLabel* picture = ControlOf<QLabel>(view, id);
        const QPoint start = picture->mapToGlobal(picture->rect().center());
        QCursor::setPos(start);
        SendMouse(picture, QEvent::MouseButtonPress, picture->rect().center());
        QCOMPARE(QCursor::pos(), DesktopCentre());
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        QPoint at = DesktopCentre();
        for (QPoint step : steps) {
            at += step;
            QCursor::setPos(at);
            SendMouse(picture, QEvent::MouseMove, picture->mapFromGlobal(at));
        }
        SendMouse(picture, QEvent::MouseButtonRelease, picture->mapFromGlobal(at));
        QCOMPARE(QCursor::pos(), start);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

private Q_SLOTS:
    // A settings file of its own: a closing window writes the scale and cameras.
    void init() { app = std::make_unique<RunningApp>(folder.File(std::string(QTest::currentTestFunction()) + ".ini")); }
    void cleanup() { app.reset(); }

    void everyControlCarriesItsNumberAndTheListItsTypes()
    {
        QCOMPARE(app->Form().findChildren<DisplayToolbar*>(IdName(IDD_VIEW_TOOLBAR)).size(), 4);
        for (int id : {IDC_VIEW_TYPE, IDC_VIEW_COLLISION, IDC_VIEW_DRAW_EDGES, IDC_VIEW_DRAW_FACES, IDC_VIEW_NORMALS,
                       IDC_VIEW_PIVOT, IDC_VIEW_SHOW_SELECTION, IDC_VIEW_ZOOM, IDC_VIEW_PAN, IDC_VIEW_LAYOUT}) {
            QWidget* control = ControlOf<QWidget>(1, id);
            QVERIFY2(control != nullptr, qPrintable(IdName(id)));
            QCOMPARE(control->accessibleDescription(), IdName(id));
            // Everything fits on the 16-pixel strip of a 451-pixel view.
            QVERIFY(control->geometry().bottom() < 16 && control->geometry().right() < 451);
        }
        auto* list = ControlOf<QComboBox>(1, IDC_VIEW_TYPE);
        QCOMPARE(list->count(), 9);
        QCOMPARE(list->currentText(), QString("Pers"));
        // The settings' defaults reach the switches: faces in view 1 only.
        QVERIFY(ControlOf<QAbstractButton>(1, IDC_VIEW_DRAW_FACES)->isChecked());
        QVERIFY(ControlOf<QAbstractButton>(0, IDC_VIEW_DRAW_EDGES)->isChecked());
    }

    void typeListAndSwitchesChangeTheirViewOnly()
    {
        auto* list = ControlOf<QComboBox>(3, IDC_VIEW_TYPE);
        QTest::keyClick(list, Qt::Key_Home);  // "Top"
        QCOMPARE(int(Views().views[3].type), int(ViewType::Top));
        QVERIFY(Near(Views().views[3].eye, Views().views[3].target + Vec3{0, 2000, -1}, 0));
        QCOMPARE(int(Views().views[0].type), int(ViewType::Top));
        ControlOf<QAbstractButton>(0, IDC_VIEW_DRAW_FACES)->click();
        ControlOf<QAbstractButton>(0, IDC_VIEW_NORMALS)->click();
        ControlOf<QAbstractButton>(0, IDC_VIEW_SHOW_SELECTION)->click();
        const ViewDisplay& display = app->session.Displays()[0];
        QCOMPARE(display.drawMode, 1);
        QCOMPARE(display.normals, 1);
        QCOMPARE(display.showSelection, 0);
        QCOMPARE(display.collision, 0);
        QCOMPARE(app->session.Displays()[2].normals, 0);
    }

    void theOnionSkinSwitchComesAfterTheOthersAndIsOffAndOfItsViewOnly()
    {
        for (int view = 0; view < 4; ++view) {
            auto* onion = ControlOf<QAbstractButton>(view, IDC_VIEW_ONION_SKIN);
            QVERIFY(onion != nullptr);
            QCOMPARE(onion->text(), QString("オニオンスキン"));
            QCOMPARE(onion->accessibleDescription(), IdName(IDC_VIEW_ONION_SKIN));
            QVERIFY(!onion->isChecked());
            // At the starting size a view is too narrow for one row: the last
            // switches begin a second one, whole.
            QWidget* toolbar = onion->parentWidget();
            QCOMPARE(onion->geometry().left(), 0);
            QCOMPARE(onion->geometry().top(), 16);
            QVERIFY(toolbar->rect().contains(onion->geometry()));
            QVERIFY(toolbar->rect().contains(ControlOf<QWidget>(view, IDC_VIEW_MOTION_PATH)->geometry()));
        }
        ControlOf<QAbstractButton>(1, IDC_VIEW_ONION_SKIN)->click();
        QCOMPARE(app->session.Displays()[1].onionSkin, 1);
        QCOMPARE(app->session.Displays()[0].onionSkin, 0);
        QVERIFY(ControlOf<QAbstractButton>(1, IDC_VIEW_ONION_SKIN)->isChecked());
    }

    void theMotionPathSwitchFollowsTheOnionSkinAndIsOfItsViewOnly()
    {
        auto* path = ControlOf<QAbstractButton>(2, IDC_VIEW_MOTION_PATH);
        QCOMPARE(path->text(), QString("軌跡"));
        QVERIFY(!path->isChecked());
        QCOMPARE(path->geometry().left(), ControlOf<QWidget>(2, IDC_VIEW_ONION_SKIN)->geometry().right() + 1);
        path->click();
        QCOMPARE(app->session.Displays()[2].motionPath, 1);
        QCOMPARE(app->session.Displays()[3].motionPath, 0);
        path->click();
        QCOMPARE(app->session.Displays()[2].motionPath, 0);
    }

    void zoomDragRefusesAStepOf20UpAndPutsTheCursorBack()
    {
        DragPicture(0, IDC_VIEW_ZOOM, {{0, -20}});
        QCOMPARE(Views().scale, 5.0f);
        DragPicture(0, IDC_VIEW_ZOOM, {{0, -10}, {3, 0}, {0, 4}});
        QCOMPARE(Views().scale, 5.0f * 0.5f * 1.2f);
    }

    void panInFrontMovesEveryOrthographicView()
    {
        const Vec3 top = Views().views[0].target, left = Views().views[3].target, pers = Views().views[1].eye;
        DragPicture(2, IDC_VIEW_PAN, {{10, 0}, {0, 4}});
        QVERIFY(Near(Views().views[0].target, top + Vec3{-50, 20, 0}, 1e-3f));
        QVERIFY(Near(Views().views[3].target, left + Vec3{-50, 20, 0}, 1e-3f));
        QVERIFY(Near(Views().views[1].eye, pers, 0));
    }

    void layoutPictureShowsTheViewAloneAndBack()
    {
        QLabel* layout = ControlOf<QLabel>(2, IDC_VIEW_LAYOUT);
        const int size = std::min(layout->width(), layout->height());
        const QImage fourViews = LayoutPicture(size, true).toImage(), single = LayoutPicture(size, false).toImage();
        QCOMPARE(layout->pixmap().toImage(), fourViews);
        SendMouse(layout, QEvent::MouseButtonPress, {5, 5});
        SendMouse(layout, QEvent::MouseButtonRelease, {5, 5});
        QCOMPARE(Views().fourViewMode, 0);
        QCOMPARE(Views().maximisedView, 2);
        for (int i = 0; i < 4; ++i) QCOMPARE(Toolbar(i)->isVisible(), i == 2);
        QCOMPARE(Toolbar(2)->geometry(), QRect(92, 2, 906, 16));
        QCOMPARE(layout->pixmap().toImage(), single);
        // The view fills the render window: no gap between views is drawn.
        QVERIFY(app->Grab().pixel(452, 150) != Rgb(app->session.Colours()[ColourIndex::Line]));

        SendMouse(layout, QEvent::MouseButtonPress, {5, 5});
        SendMouse(layout, QEvent::MouseButtonRelease, {5, 5});
        QCOMPARE(Views().fourViewMode, 1);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(Toolbar(i)->isVisible());
            QCOMPARE(ControlOf<QLabel>(i, IDC_VIEW_LAYOUT)->pixmap().toImage(), fourViews);
        }
        QCOMPARE(Toolbar(2)->pos(), QPoint(92, 303));
        QCOMPARE(app->Grab().pixel(452, 150), Rgb(app->session.Colours()[ColourIndex::Line]));
    }

    void wheelZoomsTheViewUnderTheCursor()
    {
        RenderWidget& render = app->Render();
        auto wheel = [&](QPoint at, int delta) {
            QWheelEvent event(at, render.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(&render, &event);
        };
        wheel({100, 100}, 120);  // Top, one notch forward
        QCOMPARE(Views().scale, 4.0f);
        const Vec3 eye = Views().views[1].eye, target = Views().views[1].target;
        wheel({600, 100}, -120);  // Pers, one notch back
        QCOMPARE(Views().scale, 4.0f);
        QVERIFY(Near(Views().views[1].eye - target, (eye - target) * 1.04f, 1e-2f));
    }

    void colourDialogCancelKeepsTheTableAndDefaultsComeBackOnOk()
    {
        ColourTable custom{};
        custom.fill(0xFF102030u);
        app->session.Colours() = custom;
        QAction* change = app->frame->Action(ID_COLOR_CHANGE);
        QVERIFY(change->isEnabled());
        auto pickRedAt = [](QWidget* dialog, QPoint swatch) {
            AnswerNextDialog([](QWidget* picker) {
                auto* colours = qobject_cast<QColorDialog*>(picker);
                QVERIFY(colours != nullptr);
                colours->setCurrentColor(QColor(255, 0, 0));
                colours->accept();
            });
            QTest::mouseClick(dialog, Qt::LeftButton, {}, swatch);
        };

        AnswerNextDialog([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("色の設定"));
            pickRedAt(dialog, {100, 30});                             // the grid
            QTest::mouseClick(dialog, Qt::LeftButton, {}, {70, 70});  // between the swatches
            dialog->findChild<QAbstractButton*>(IdName(IDC_COLOUR_DEFAULTS))->click();
            dialog->findChild<QAbstractButton*>(IdName(IDCANCEL))->click();
        });
        change->trigger();
        QCOMPARE(app->session.Colours(), custom);

        AnswerNextDialog([&](QWidget* dialog) {
            dialog->findChild<QAbstractButton*>(IdName(IDC_COLOUR_DEFAULTS))->click();
            pickRedAt(dialog, {40, 30});  // the background
            dialog->findChild<QAbstractButton*>(IdName(IDOK))->click();
        });
        change->trigger();
        ColourTable expected = kDefaultColours;
        expected[ColourIndex::Back] = 0xFFFF0000u;
        QCOMPARE(app->session.Colours(), expected);
        QCOMPARE(app->Grab().pixel(10, 10), qRgb(255, 0, 0));
    }
};

M3D_UI_TEST(DisplayToolbarTest);
#include "DisplayToolbarTest.moc"
