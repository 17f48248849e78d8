#include "app/CommandIds.h"
#include "anim/MotionOperations.h"
#include "editor/MotionCommands.h"
#include "editor/MotionPathDisplay.h"
#include "editor/OnionSkin.h"
#include "editor/PartCommands.h"
#include "meshlib/LoadedModel.h"
#include "support/SceneParts.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"
#include "view/DeviceState.h"

#include <QAction>
#include <QSet>
#include <QTreeWidget>
#include <QtTest>

#include <cstdlib>

using namespace m3d;

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

// A roof along Y from y0 to y1 over x0 ... x1: its ridge runs 60 units in
// front (-Z) of its back wall at z 0, so its two front faces turn left and
// right. Flat normals; every triangle clockwise seen from outside.
LoadedModel MakeRoof(float x0, float x1, float y0, float y1)
{
    const float xm = (x0 + x1) * 0.5f;
    const Vec3 a0{x0, y0, 0}, b0{x1, y0, 0}, c0{xm, y0, -60}, a1{x0, y1, 0}, b1{x1, y1, 0}, c1{xm, y1, -60};
    const Vec3 left = Normalize(Cross(a1 - a0, c1 - a0)), right = Normalize(Cross(c1 - c0, b1 - c0));
    const struct {
        Vec3 p[3];
        Vec3 outward;
    } triangles[] = {
        {{a0, a1, c1}, left},      {{a0, c1, c0}, left},      {{c0, c1, b1}, right},     {{c0, b1, b0}, right},
        {{b0, b1, a1}, {0, 0, 1}}, {{b0, a1, a0}, {0, 0, 1}}, {{a1, b1, c1}, {0, 1, 0}}, {{a0, c0, b0}, {0, -1, 0}},
    };
    LoadedModel model;
    for (const auto& t : triangles) {
        Vec3 p[3] = {t.p[0], t.p[1], t.p[2]};
        if (Dot(Cross(p[1] - p[0], p[2] - p[0]), t.outward) < 0) std::swap(p[1], p[2]);
        for (const Vec3& corner : p) {
            _MESH_VERTEX v;
            v.x = corner.x, v.y = corner.y, v.z = corner.z;
            const Vec3 n = Normalize(t.outward);
            v.nx = n.x, v.ny = n.y, v.nz = n.z;
            model.indices.push_back(uint32_t(model.vertices.size()));
            model.vertices.push_back(v);
        }
        model.triangleMaterials.push_back(0);
    }
    model.materials.push_back(sceneparts::WhiteMaterial());
    return model;
}

// Whether colour appears in the pixels of row y from x0 to x1.
bool RowHas(const QImage& image, int y, int x0, int x1, QRgb colour)
{
    for (int x = x0; x <= x1; ++x)
        if (Near(image.pixel(x, y), colour, 1)) return true;
    return false;
}

}  // namespace

#define EXPECT_PIXEL(image, x, y, colour, tolerance)                 \
    QVERIFY2(Near((image).pixel((x), (y)), (colour), (tolerance)),   \
             qPrintable(QString("pixel (%1, %2) is %3, expected %4") \
                            .arg(x)                                  \
                            .arg(y)                                  \
                            .arg(Describe((image).pixel((x), (y))))  \
                            .arg(Describe(colour))))

// The four views of a scene with two white boxes: "east" centred at
// (150, 0, 0) and "near" centred at (0, 0, -150), both 80 units wide, and a
// textured square left of the origin. With the
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
        // A 2 x 2 texture (red, green over blue, white) on a square facing -Z,
        // 200 units wide, centred at (-150, -250, -60): below and left of the
        // origin in Front, in front of the grid.
        QImage texels(2, 2, QImage::Format_RGB32);
        texels.setPixel(0, 0, qRgb(255, 0, 0));
        texels.setPixel(1, 0, qRgb(0, 255, 0));
        texels.setPixel(0, 1, qRgb(0, 0, 255));
        texels.setPixel(1, 1, qRgb(255, 255, 255));
        QVERIFY(texels.save(QString::fromStdString(folder.File("quad.png"))));
        {
            LoadedModel quad;
            const float corners[4][4] = {{-250, -150, 0, 0}, {-50, -150, 1, 0}, {-50, -350, 1, 1}, {-250, -350, 0, 1}};
            for (const auto& c : corners) {
                _MESH_VERTEX v;
                v.x = c[0];
                v.y = c[1];
                v.z = -60;
                v.nz = -1;
                v.tu = c[2];
                v.tv = c[3];
                quad.vertices.push_back(v);
            }
            quad.indices = {0, 1, 2, 0, 2, 3};
            quad.triangleMaterials = {0, 0};
            quad.materials.push_back(sceneparts::WhiteMaterial());
            quad.materials[0].texturePath = "quad.png";
            Scene scratch;
            sceneparts::AddModelPart(scratch, folder, "quad", quad);
        }
        app = std::make_unique<RunningApp>(folder.File("pixels.ini"), folder.File("east.mesh"));
        app->Form().OpenStartupFile(folder.File("near.mesh"));
        app->scene.SelectTreeItem(app->scene.rootPart.treeItem);
        app->Form().OpenStartupFile(folder.File("quad.mesh"));
        app->scene.SelectTreeItem(app->scene.Parts()[1]->treeItem);
        QCOMPARE(app->scene.PartCount(), 3);
        app->Form().Views().SetViewType(3, ViewType::Back);
        // Faces in every view (the orthographic views start in edges mode).
        for (ViewDisplay& display : app->Form().Displays()) display.drawMode = 1;
    }
    void cleanupTestCase() { app.reset(); }

    void gapsShowTheLineColourAndViewsTheBackColour()
    {
        const QImage image = app->Grab();
        SaveShot(image, "four-views");
        QCOMPARE(image.size(), QSize(910, 600));
        EXPECT_PIXEL(image, 452, 100, kLine, 0);  // between views 0 and 1 (a = 453)
        EXPECT_PIXEL(image, 100, 299, kLine, 0);  // between views 0 and 2 (b = 300)
        EXPECT_PIXEL(image, 452, 299, kLine, 0);  // the crossing
        EXPECT_PIXEL(image, 907, 100, kLine, 0);  // the 4 pixels right of the views
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

    void texturesAreMultipliedByTheLitColourRowsTopFirst()
    {
        const QImage image = app->Grab();
        SaveShot(image, "texture");
        // The square spans x 175.5 ... 215.5 and y 480.5 ... 520.5 in Front;
        // the middle of each quarter shows one texel.
        EXPECT_PIXEL(image, 185, 490, qRgb(255, 0, 0), 3);
        EXPECT_PIXEL(image, 205, 490, qRgb(0, 255, 0), 3);
        EXPECT_PIXEL(image, 185, 510, qRgb(0, 0, 255), 3);
        EXPECT_PIXEL(image, 205, 510, qRgb(255, 255, 255), 3);
        // Linear filtering blends the texels across the middle.
        const QRgb middle = image.pixel(195, 500);
        QVERIFY2(qRed(middle) > 60 && qRed(middle) < 200 && qGreen(middle) > 60 && qBlue(middle) > 60,
                 qPrintable(Describe(middle)));
    }

    void lightingFollowsThePartsRotation()
    {
        // A quarter turn about X maps east's box onto itself, so the world sees
        // the same faces lit the same way, each now a different model face.
        Part& east = *app->scene.Parts()[0];
        const Matrix4 before = east.localMatrix;
        east.localMatrix = MatrixRotationX(3.14159265f / 2);
        app->scene.UpdateHierarchy(0);
        const QImage image = app->Grab();
        EXPECT_PIXEL(image, 253, 455, Grey(255), 3);
        EXPECT_PIXEL(image, 652, 455, Grey(kAmbientOnly), 2);
        EXPECT_PIXEL(image, 253, 154, Grey(151), 3);
        east.localMatrix = before;
        app->scene.UpdateHierarchy(0);
    }

    void aClearedTreeCheckBoxHidesThePartButNotItsSelectionBox()
    {
        auto* tree = app->Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        QVERIFY(tree != nullptr);
        const QList<QTreeWidgetItem*> found = tree->findItems("near", Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        QCOMPARE(app->session.CurrentPart(), 1);  // "near" was added last and is selected
        QImage image = app->Grab();
        EXPECT_PIXEL(image, 230, 455, Grey(255), 3);  // near's front face in Front
        found[0]->setCheckState(0, Qt::Unchecked);
        QVERIFY(!app->scene.Tree().IsChecked(app->scene.Parts()[1]->treeItem));
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

    void aMirroredPartIsLitLikeItsOriginal()
    {
        // The roof stands above the other Parts in Front (x 40 ... 200, y 250 ...
        // 350; columns 233 ... 265, rows 381 ... 400); its mirror image across x = 0
        // fills the mirrored columns (c <-> 450 - c around the view's centre 225.5).
        {
            Scene scratch;
            sceneparts::AddModelPart(scratch, folder, "roof", MakeRoof(40, 200, 250, 350));
        }
        app->scene.SelectTreeItem(app->scene.rootPart.treeItem);
        app->Form().OpenStartupFile(folder.File("roof.mesh"));
        app->scene.addObjectDirectory = folder.path;
        QCOMPARE(AddMirroredPart(app->session, "roof_mirrored").result, MirroredPartResult::Added);
        // The original under the default light, the mirror under the light mirrored across x = 0.
        ViewState& views = app->Form().Views();
        const Vec3 before = views.lightDirection;
        const QImage original = app->Grab();
        views.lightDirection = {-before.x, before.y, before.z};
        SetDeviceLight(app->Form().Device(), views.lightDirection);
        const QImage mirrored = app->Grab();
        SaveShot(mirrored, "mirrored-part");
        views.lightDirection = before;
        SetDeviceLight(app->Form().Device(), before);

        // Pixels inside a face (all eight neighbours alike) must match; the
        // outlines may round differently.
        QSet<QRgb> faceColours;
        int compared = 0;
        for (int y = 376; y <= 405; ++y)
            for (int x = 228; x <= 270; ++x) {
                const QRgb colour = original.pixel(x, y);
                bool inside = !Near(colour, kBack, 2);
                for (int dy = -1; dy <= 1 && inside; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) inside = inside && Near(original.pixel(x + dx, y + dy), colour, 1);
                if (!inside) continue;
                ++compared;
                faceColours.insert(colour & 0xF0F0F0);
                EXPECT_PIXEL(mirrored, 450 - x, y, colour, 3);
            }
        QVERIFY2(compared > 300, qPrintable(QString::number(compared)));
        QVERIFY(faceColours.size() >= 2);  // the two front faces are lit differently
    }

    void onionSkinGhostsBlendTheirTintOverTheViewAndStayBehindTheParts()
    {
        // east keyed 200 units higher at frame 20; frame 10 shows the ghosts of
        // frame 0 (where east stands now) and of frame 20 (40 pixels up in Front).
        Scene& scene = app->scene;
        QVERIFY(NewMotionCommand(app->session, "onion"));
        const int motion = app->session.CurrentMotion();
        QVERIFY(SetKeyMatrix(scene, motion, 0, 20, MatrixTranslation(0, 200, 0)));
        app->session.SetCurrentFrame(10);
        QImage image = app->Grab();
        EXPECT_PIXEL(image, 253, 415, kBack, 0);
        app->Form().Displays()[2].onionSkin = 1;
        image = app->Grab();
        SaveShot(image, "onion-skin");
        // Half the next key's orange over the background, unlit, and as
        // such in the window too (the view stays opaque: the window would show
        // it over its own background by its alpha).
        const QRgb next = kOnionNextTint;
        const auto over = [next](int tint, int back) {
            return (tint * qAlpha(next) + back * (255 - qAlpha(next))) / 255;
        };
        const QRgb ghost = qRgb(over(qRed(next), 0x18), over(qGreen(next), 0x18), over(qBlue(next), 0x18));
        EXPECT_PIXEL(image, 253, 415, ghost, 3);
        const QImage shown = app->Shown(app->Form(), app->Form().RenderWindow()->geometry()).toImage();
        EXPECT_PIXEL(shown, 253, 415, ghost, 3);
        EXPECT_PIXEL(image, 253, 455, Grey(255), 3);  // the Part covers the ghost of frame 0
        EXPECT_PIXEL(image, 253, 154, Grey(151), 3);  // Top has no onion skin
        app->session.SetPlaying(true);
        EXPECT_PIXEL(app->Grab(), 253, 415, kBack, 0);
        app->session.SetPlaying(false);
        app->Form().Displays()[2].onionSkin = 0;
        QVERIFY(DeleteMotionCommand(app->session));
    }

    void motionPathDotsShowOverEverythingInTheViewWhoseSwitchIsOn()
    {
        // east keyed 200 units higher at frame 20, shown at frame 10.
        Scene& scene = app->scene;
        QVERIFY(NewMotionCommand(app->session, "path"));
        const int motion = app->session.CurrentMotion();
        QVERIFY(SetKeyMatrix(scene, motion, 0, 20, MatrixTranslation(0, 200, 0)));
        app->session.Events().Publish(MotionKeysChanged{motion});
        app->session.SelectPart(0);
        app->session.SetCurrentFrame(10);
        const auto count = [&](const QImage& image, QRgb colour) {
            int inFront = 0, elsewhere = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (Near(image.pixel(x, y), colour, 2))
                        ++(app->Form().Views().views[2].rect.Contains(x, y) ? inFront : elsewhere);
            return std::pair{inFront, elsewhere};
        };
        app->Form().Displays()[2].motionPath = 1;
        const QImage image = app->Grab();
        SaveShot(image, "motion-path");
        const auto [current, currentElsewhere] = count(image, kPathCurrentColour);
        QVERIFY2(current >= 7 * 7, qPrintable(QString::number(current)));  // the 9-pixel dot of frame 10
        QCOMPARE(currentElsewhere, 0);
        QVERIFY(count(image, kPathFrameColour).first >= 20);  // the frames' dots and the keys'
        app->Form().Displays()[2].motionPath = 0;
        QCOMPARE(count(app->Grab(), kPathCurrentColour).first, 0);
        QVERIFY(DeleteMotionCommand(app->session));
    }
};

M3D_UI_TEST(ViewPixelsTest);
#include "ViewPixelsTest.moc"
