#include "anim/PoseEvaluation.h"
#include "gl/GlRenderDevice.h"
#include "gl/OffscreenDrawing.h"
#include "gl/OffscreenTarget.h"
#include "render/RecordingDevice.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"
#include "view/PictureViews.h"

#include <QtTest>

#include <cstdlib>

using namespace m3d;

namespace {

// The first call where the two lists part, or -1 when they are the same;
// texture images compare by content, since each side may load its own.
int FirstDifference(const std::vector<RecordedCall>& a, const std::vector<RecordedCall>& b)
{
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const RecordedCall& x = a[i];
        const RecordedCall& y = b[i];
        float mx[3][16], my[3][16];
        x.world.ToArray(mx[0]), x.view.ToArray(mx[1]), x.projection.ToArray(mx[2]);
        y.world.ToArray(my[0]), y.view.ToArray(my[1]), y.projection.ToArray(my[2]);
        bool same = x.call == y.call && x.viewport.x == y.viewport.x && x.viewport.y == y.viewport.y &&
                    x.viewport.width == y.viewport.width && x.viewport.height == y.viewport.height &&
                    x.lighting == y.lighting && x.ambientLight == y.ambientLight && x.color == y.color &&
                    x.material.diffuse.r == y.material.diffuse.r && x.material.diffuse.a == y.material.diffuse.a &&
                    x.light.direction.x == y.light.direction.x && x.light.direction.z == y.light.direction.z &&
                    x.translucent == y.translucent && (x.texture == nullptr) == (y.texture == nullptr) &&
                    x.indices == y.indices && x.lines.size() == y.lines.size();
        for (int m = 0; m < 3 && same; ++m)
            for (int k = 0; k < 16 && same; ++k)
                same = std::abs(mx[m][k] - my[m][k]) <= 1e-4f * (1 + std::abs(mx[m][k]));
        for (size_t k = 0; k < x.lines.size() && same; ++k)
            same = x.lines[k].x == y.lines[k].x && x.lines[k].z == y.lines[k].z && x.lines[k].color == y.lines[k].color;
        if (!same) return int(i);
    }
    return a.size() == b.size() ? -1 : int(std::min(a.size(), b.size()));
}

}  // namespace

// The picture the command line draws of a pose is the window's view of it:
// the same calls to the device, and on the same OpenGL the same pixels.
class OffscreenPicturesTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    // A picture set up as the command line sets it up, with the window's
    // size and camera of its perspective view.
    PictureViews PictureOfTheWindow()
    {
        const ViewState& views = app->Form().Views();
        const View& pers = views.views[PictureViews::kView];
        PictureViewOptions options;
        options.width = views.RenderWidth();
        options.height = views.RenderHeight();
        options.camera = PictureCamera{pers.eye, pers.target};
        return MakePictureViews(app->scene, options);
    }

private Q_SLOTS:
    void initTestCase()
    {
        app = std::make_unique<RunningApp>(folder.File("pictures.ini"), M3D_SAMPLE_FIGURE);
        // Nothing selected (no bounding box, no gizmo), the walk half way,
        // and the perspective view alone.
        app->scene.SelectTreeItem(app->scene.rootPart.treeItem);
        EvaluatePose(app->scene, 0, 12);
        app->Form().Views().ToggleLayout(PictureViews::kView);
        app->Form().Views().FitWholeModel(app->scene.Meshes());
    }
    void cleanupTestCase() { app.reset(); }

    void theDrawListIsTheWindows()
    {
        CAppForm& form = app->Form();
        const GridGeometry grid = BuildGrid(form.Views().gridWidth, form.Colours()[ColourIndex::Grid]);
        // Meshes draw through the scene's device: each recording takes it in turn.
        RecordingDevice window, picture;
        app->scene.SetRenderDevice(&window);
        RenderViews(window, {form.Views(), form.Displays(), form.Colours(), grid, app->scene});
        const PictureViews views = PictureOfTheWindow();
        app->scene.SetRenderDevice(&picture);
        RenderViews(picture, views.Inputs(app->scene));
        app->scene.SetRenderDevice(&form.Device());
        QVERIFY(window.calls.size() > 20);
        const int differ = FirstDifference(window.calls, picture.calls);
        QVERIFY2(differ < 0, qPrintable(QString("call %1 of %2 differs").arg(differ).arg(window.calls.size())));
    }

    // On the same OpenGL the same pixels, through the window's device and
    // through one made for pictures alone, as the command line makes it
    // (nothing set on it before: the light and ambient are the picture's).
    void theOffscreenPixelsAreTheWindows_data()
    {
        QTest::addColumn<bool>("freshDevice");
        QTest::newRow("window's device") << false;
        QTest::newRow("a device of its own") << true;
    }
    void theOffscreenPixelsAreTheWindows()
    {
        QFETCH(bool, freshDevice);
        const QImage shown = app->Grab();
        const PictureViews views = PictureOfTheWindow();
        QCOMPARE(shown.size(), QSize(views.views.RenderWidth(), views.views.RenderHeight()));
        app->Render().makeCurrent();
        GlRenderDevice own;
        if (freshDevice) {
            QVERIFY(own.Initialize().Ok());
            app->scene.SetRenderDevice(&own);
        }
        GlRenderDevice& device = freshDevice ? own : app->Form().Device();
        Expected<std::unique_ptr<OffscreenTarget>> target = OffscreenTarget::Create(shown.width(), shown.height());
        QVERIFY2(target.Ok(), target.Message().c_str());
        const TextureImage drawn = DrawOffscreen(device, **target, views.Inputs(app->scene));
        target->reset();
        app->scene.SetRenderDevice(&app->Form().Device());
        if (freshDevice) own.ReleaseResources();
        app->Render().doneCurrent();

        int differing = 0, model = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb s = shown.pixel(x, y);
                const uint8_t* d = &drawn.rgba[(size_t(y) * size_t(drawn.width) + size_t(x)) * 4];
                const int worst =
                    std::max({std::abs(qRed(s) - d[0]), std::abs(qGreen(s) - d[1]), std::abs(qBlue(s) - d[2])});
                if (worst > 3) ++differing;
                if (d[0] != 0x18 || d[1] != 0x18 || d[2] != 0x18) ++model;
            }
        const int pixels = shown.width() * shown.height();
        QVERIFY2(model > pixels / 50, qPrintable(QString("%1 pixels drawn").arg(model)));
        QVERIFY2(differing <= pixels / 500, qPrintable(QString("%1 of %2 pixels differ").arg(differing).arg(pixels)));
    }
};

M3D_UI_TEST(OffscreenPicturesTest);
#include "OffscreenPicturesTest.moc"
