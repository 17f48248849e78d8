#include "app/CommandIds.h"
#include "support/SceneParts.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"
#include "view/DeviceState.h"

#include <QAction>
#include <QTreeWidget>
#include <QtTest>

#include <cstdlib>

namespace {

// Default colours: BACK 0xFF181818, GRID 0xFF808080, LINE 0xFFFF0000, SELECT 0xFFC0C0C0.
constexpr QRgb kBack = 0xFF181818;
constexpr QRgb kGrid = 0xFF808080;
constexpr QRgb kLine = 0xFFFF0000;
constexpr QRgb kSelect = 0xFFC0C0C0;
// A white face: 0x2F ambient alone, or lit.
constexpr int kAmbientOnly = 0x2F;

bool Near(QRgb a, QRgb b, int tolerance = 2)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QRgb Grey(int level) { return qRgb(level, level, level); }

QString Describe(QRgb c) { return QString("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)); }

// Whether colour appears in the pixels of row y from x0 to x1.
bool RowHas(const QImage& image, int y, int x0, int x1, QRgb colour)
{
    for (int x = x0; x <= x1; ++x)
        if (Near(image.pixel(x, y), colour, 1)) return true;
    return false;
}

}  // namespace

#define EXPECT_PIXEL(image, x, y, colour, tolerance)                                                           \
    QVERIFY2(Near((image).pixel((x), (y)), (colour), (tolerance)),                                           \
             qPrintable(QString("pixel (%1, %2) is %3, expected %4")                                         \
                            .arg(x).arg(y).arg(Describe((image).pixel((x), (y)))).arg(Describe(colour))))

// The four views of a scene with two white boxes: "east" centred at
// (150, 0, 0) and "near" centred at (0, 0, -150), both 80 units wide. With the
// default scale of 5 units a pixel and a 910 x 600 render window, view 0 (Top)
// is centred at (225.5, 149), view 2 (Front) at (225.5, 450.5) and view 3 at
// (680, 450.5); a box centre 150 units off lies 30 pixels from the view centre.
class ViewPixelsTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    void SaveShot(const QImage& image, const char* name)
    {
        if (const char* dir = std::getenv("M3D_UI_SHOTS")) image.save(QString("%1/%2.png").arg(dir, name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        {
            Scene scratch;
            sceneparts::AddBoxPart(scratch, folder, "east", {150, 0, 0}, 40);
            sceneparts::AddBoxPart(scratch, folder, "near", {0, 0, -150}, 40);
        }
        app = std::make_unique<RunningApp>(folder.File("pixels.ini"), folder.File("east.mesh"));
        app->Form().OpenStartupFile(folder.File("near.mesh"));
        QCOMPARE(app->scene.PartCount(), 2);
        app->Form().Views().SetViewType(3, VIEW_BACK);
        // Faces in every view (the orthographic views start in edges mode).
        for (ViewDisplay& display : app->Form().Displays()) display.drawMode = 1;
    }
    void cleanupTestCase() { app.reset(); }

    void gapsShowTheLineColourAndViewsTheBackColour()
    {
        const QImage image = app->Grab();
        SaveShot(image, "four-views");
        QCOMPARE(image.size(), QSize(910, 600));
        EXPECT_PIXEL(image, 452, 100, kLine, 0);   // between views 0 and 1 (a = 453)
        EXPECT_PIXEL(image, 100, 299, kLine, 0);   // between views 0 and 2 (b = 300)
        EXPECT_PIXEL(image, 452, 299, kLine, 0);   // the crossing
        EXPECT_PIXEL(image, 907, 100, kLine, 0);   // the 4 pixels right of the views
        EXPECT_PIXEL(image, 10, 10, kBack, 0);
        EXPECT_PIXEL(image, 890, 590, kBack, 0);
    }

    void gridLinesHaveTheGridColour()
    {
        const QImage image = app->Grab();
        // Top view: the line x = -5 grid widths (-250 units, 50 pixels left of centre).
        QVERIFY(RowHas(image, 174, 174, 176, kGrid));
        // No grid beyond 5 grid widths.
        EXPECT_PIXEL(image, 225 - 70, 174, kBack, 0);
    }

    void partsAppearLitOnTheirSideOfEachView()
    {
        const QImage image = app->Grab();
        // Front looks along +Z: +X is to the right; the front face is lit by the default light.
        EXPECT_PIXEL(image, 253, 455, Grey(255), 3);
        EXPECT_PIXEL(image, 198, 455, kBack, 0);
        // Back looks along -Z: +X is to the left; its face turns away from the light.
        EXPECT_PIXEL(image, 652, 455, Grey(kAmbientOnly), 2);
        EXPECT_PIXEL(image, 708, 455, kBack, 0);
        // Top: +X right, -Z downward; the top face is half lit (0x2F + 0.408 x 255).
        EXPECT_PIXEL(image, 253, 154, Grey(151), 3);
        EXPECT_PIXEL(image, 230, 177, Grey(151), 3);
        EXPECT_PIXEL(image, 230, 121, kBack, 0);
        EXPECT_PIXEL(image, 198, 154, kBack, 0);
    }

    void aClearedTreeCheckBoxHidesThePartButNotItsSelectionBox()
    {
        auto* tree = app->Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        QVERIFY(tree != nullptr);
        const QList<QTreeWidgetItem*> found = tree->findItems("near", Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        QCOMPARE(app->scene.currentPart, 1);  // "near" was added last and is selected
        QImage image = app->Grab();
        EXPECT_PIXEL(image, 230, 455, Grey(255), 3);  // near's front face in Front
        found[0]->setCheckState(0, Qt::Unchecked);
        QVERIFY(!app->scene.Tree().IsChecked(app->scene.parts[1]->treeItem));
        image = app->Grab();
        SaveShot(image, "hidden-selected");
        EXPECT_PIXEL(image, 230, 455, kBack, 0);
        // Its bounding box (8 pixels either side of the view centre) is still there.
        QVERIFY(RowHas(image, 455, 214, 220, kSelect));
        QVERIFY(RowHas(image, 455, 231, 237, kSelect));
        found[0]->setCheckState(0, Qt::Checked);
        image = app->Grab();
        EXPECT_PIXEL(image, 230, 455, Grey(255), 3);
    }

    void lightFromTheFrontFollowsTheActiveView()
    {
        ViewState& views = app->Form().Views();
        const Vec3 before = views.lightDirection;
        views.activeView = 0;  // Top: the light now comes from above
        app->frame->Action(ID_LIGHT_FROM_FRONT)->trigger();
        QVERIFY(views.lightDirection.y < -0.99f);
        const QImage image = app->Grab();
        EXPECT_PIXEL(image, 253, 455, Grey(kAmbientOnly), 3);  // Front face now unlit
        EXPECT_PIXEL(image, 253, 154, Grey(255), 3);           // top face fully lit
        views.lightDirection = before;
        SetDeviceLight(app->Form().Device(), before);
        views.activeView = 0;
    }

    void singleViewFillsTheRenderWindowWithoutGaps()
    {
        ViewState& views = app->Form().Views();
        views.fourViewMode = 0;
        views.maximisedView = 2;
        for (int i = 0; i < 4; ++i) views.views[i].enabled = i == 2;
        const QImage image = app->Grab();
        SaveShot(image, "single-view");
        EXPECT_PIXEL(image, 452, 100, kBack, 0);
        EXPECT_PIXEL(image, 100, 299, kBack, 0);
        EXPECT_PIXEL(image, 907, 597, kBack, 0);
        EXPECT_PIXEL(image, 2, 2, kBack, 0);
        // Front now centred at (455, 300): east's front face 28 pixels right.
        EXPECT_PIXEL(image, 483, 305, Grey(255), 3);
        views.fourViewMode = 1;
        for (View& v : views.views) v.enabled = 1;
    }
};

M3D_UI_TEST(ViewPixelsTest);
#include "ViewPixelsTest.moc"
