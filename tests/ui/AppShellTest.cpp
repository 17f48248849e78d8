#include "app/CommandIds.h"
#include "app/VersionDialog.h"
#include "editor/CommandRegistry.h"
#include "editor/CommandState.h"
#include "editor/MotionCommands.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"
#include "support/SceneParts.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>
#include <QOpenGLContext>
#include "view/WindowLayout.h"

#include <QtTest>

using namespace m3d;

class AppShellTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::string Settings() const { return folder.File("shell.ini"); }

private Q_SLOTS:
    void everyCommandIsOneActionEnabledAsTheRegistrySaysAndButtonsFollowIt()
    {
        RunningApp app(Settings());
        const auto check = [&] {
            for (const CommandEntry& entry : Commands()) {
                const QString name = entry.id != 0 ? IdName(entry.id) : QString::fromUtf8(entry.name);
                const QList<QAction*> found = app.frame->findChildren<QAction*>(name);
                QCOMPARE(found.size(), 1);
                QCOMPARE(found.front(), app.frame->Actions().Action(entry.command));
                QCOMPARE(found.front()->isEnabled(), CanRun(app.session, entry.command));
            }
        };
        check();
        auto* deleteButton = app.Form().findChild<QAbstractButton*>(IdName(IDC_PARTS_DELETE));
        auto* undoButton = app.Form().findChild<QAbstractButton*>(IdName(IDC_UNDO));
        QVERIFY(!deleteButton->isEnabled() && !undoButton->isEnabled());
        QVERIFY(sceneparts::AddBoxPart(app.scene, folder, "box", {0, 0, 0}, 1) >= 0);
        app.session.SelectPart(0);
        QVERIFY(NewMotionCommand(app.session, "walk"));
        check();
        QVERIFY(deleteButton->isEnabled() && undoButton->isEnabled());
        // The button names the step it takes back; the title marks the unsaved Motion.
        QCOMPARE(undoButton->toolTip(), QString("元に戻す: モーションの追加"));
        QVERIFY(app.frame->windowTitle().endsWith(" *"));
        QTest::mouseClick(undoButton, Qt::LeftButton);
        QVERIFY(app.scene.Motions().empty());
        QVERIFY(!app.frame->windowTitle().endsWith(" *"));
        check();
    }

    void menuHoldsEveryCommandWithItsTextAndOnlyTheReadyOnesEnabled()
    {
        RunningApp app(Settings());
        const struct {
            int id;
            const char* text;
            bool enabled;
        } items[] = {
            {ID_FILE_NEW, "新規作成（&N）", true},
            {ID_FILE_OPEN, "開く（&O）", true},
            {ID_FILE_SAVE, "上書き保存（S）", true},
            {ID_FILE_SAVE_AS, "名前を付けて保存（&A）", true},
            {ID_COLOR_CHANGE, "色の変更", true},
            {ID_APP_EXIT, "E&xit", true},
            {ID_PARTS_ADD, "追加（&A）", true},
            {ID_PARTS_DELETE, "削除（&D）", false},  // these three need a current Part
            {ID_PARTS_SWAP, "入れ替え（&C）", false},
            {ID_PARTS_ADD_MIRRORED, "反転して追加（&R）", false},
            {ID_PARTS_SYMMETRY, "対称関係（&S）", true},
            {ID_LIGHT_FROM_FRONT, "正面から照らす（&F）", true},
            {ID_GRID_WIDTH, "グリッドの幅を変更（&C）", true},
            {ID_MODEL_SCALE, "スケールの調整（&S）", true},
            {ID_POSE_MIRROR, "左右逆のポーズにする（&R）", true},
            {ID_POSE_GROUND, "全オブジェクトの一番下を地面に合わせる（&G）", true},
            {ID_POSE_LEVEL, "選択オブジェクトを水平にする（&H）", true},
            // Without Parts or a Motion these say so or do nothing.
            {ID_EXPORT_XFILE, "Xファイル出力（&X）", true},
            {ID_MOTION_DELETE_REDUNDANT_KEYS, "余計なキーを削除（&D）", true},
            {ID_MOTION_MIRROR, "左右逆のモーションにする（&M）", true},
            {ID_MOTION_GROUND, "全てのキーフレームで一番下を地面に合わせる（&A）", true},
            {ID_MOTION_LEVEL, "選択オブジェクトを全てのキーフレームで水平にする（&L）", true},
            {ID_MOTION_TURN_Z, "モーションをZ方向に反転させる（&Z）", true},
            {ID_VIEW_FIT_WHOLE_MODEL, "全体表示（&F）", true},
            // Without a Motion these do nothing.
            {ID_MOTION_PLAY_STOP, "再生/停止（&P）", true},
            {ID_MOTION_PREVIOUS_FRAME, "前のフレーム（&B）", true},
            {ID_MOTION_NEXT_FRAME, "次のフレーム（&F）", true},
            {ID_MOTION_PREVIOUS_KEY, "前のキー（&R）", true},
            {ID_MOTION_NEXT_KEY, "次のキー（&X）", true},
            {ID_MOTION_FIRST_FRAME, "最初のフレーム（&H）", true},
            {ID_MOTION_LAST_FRAME, "最後のフレーム（&E）", true},
            {ID_MOTION_SET_KEY, "キーを設定（&K）", true},
            {ID_MOTION_SET_ALL_KEYS, "全パーツのキーを設定（&A）", true},
            {ID_MOTION_DELETE_KEY, "キーを削除（&D）", true},
            {ID_HELP_CONTENTS, "目次（&M）", true},
            {ID_HELP_GUIDE, "ユーザーガイド（&G）", true},
            {ID_APP_ABOUT, "バージョン情報（&A）", true},
        };
        for (const auto& item : items) {
            auto* action = app.frame->findChild<QAction*>(IdName(item.id));
            QVERIFY2(action != nullptr, qPrintable(IdName(item.id)));
            QCOMPARE(action->text(), QString::fromUtf8(item.text));
            QCOMPARE(action->isEnabled(), item.enabled);
        }
        // The menus and the two submenus in their order.
        QStringList titles;
        for (QAction* menu : app.frame->menuBar()->actions()) titles << menu->text();
        QCOMPARE(titles, QStringList({"&File", "&Parts", "&Option", "表示（&V）", "モーション（&M）", "&Help"}));
        auto menuOf = [&](int id) {
            for (QObject* owner : app.frame->Action(id)->associatedObjects())
                if (auto* menu = qobject_cast<QMenu*>(owner)) return menu->title();
            return QString();
        };
        QCOMPARE(menuOf(ID_COLOR_CHANGE), QString("環境設定（&C）"));
        QCOMPARE(menuOf(ID_MOTION_TURN_Z), QString("追加機能（&A）"));
        QCOMPARE(menuOf(ID_EXPORT_XFILE), QString("&Option"));
        QCOMPARE(menuOf(ID_EXPORT_GLTF), QString("エクスポート（&E）"));
        // Every export sits in File's Export submenu, which comes right after Import Model.
        QMenu* file = qobject_cast<QMenu*>(app.frame->menuBar()->actions().front()->menu());
        const QList<QAction*> fileItems = file->actions();
        const qsizetype import = fileItems.indexOf(app.frame->Action(ID_FILE_IMPORT_MODEL));
        QVERIFY(import >= 0 && import + 1 < fileItems.size() && fileItems[import + 1]->menu() != nullptr);
        QMenu* exports = fileItems[import + 1]->menu();
        QCOMPARE(exports->title(), QString("エクスポート（&E）"));
        QCOMPARE(exports->actions(),
                 QList<QAction*>({app.frame->Action(ID_EXPORT_GLTF), app.frame->Action(ID_EXPORT_XFILE)}));
        QCOMPARE(menuOf(ID_APP_EXIT), QString("&File"));
        QCOMPARE(menuOf(ID_MOTION_DELETE_KEY), QString("モーション（&M）"));
    }

    void clientAreaPlacesRenderWindowViewsAndPanels()
    {
        RunningApp app(Settings());
        RenderWidget& render = app.Render();
        QCOMPARE(render.geometry(), QRect(90, 0, 910, 600));
        const PixelRect& v3 = app.Form().Views().views[3].rect;
        QCOMPARE(QRect(v3.left, v3.top, v3.Width(), v3.Height()), QRect(454, 301, 452, 299));
        auto* tree = app.Form().findChild<QWidget*>(IdName(IDD_PARTS_TREE));
        auto* motion = app.Form().findChild<QWidget*>(IdName(IDD_MOTION_PANEL));
        auto* parts = app.Form().findChild<QWidget*>(IdName(IDD_PARTS_PANEL));
        auto* transform = app.Form().findChild<QWidget*>(IdName(IDD_TRANSFORM_PANEL));
        QVERIFY(tree && motion && parts && transform);
        QCOMPARE(tree->pos(), QPoint(93, 603));
        // The motion panel reaches the width strip at the window's right edge.
        QCOMPARE(motion->geometry(), QRect(333, 603, 1000 - 333 - 5, 198));
        QCOMPARE(parts->geometry(), QRect(3, 3, 87, 111));
        QCOMPARE(transform->pos(), QPoint(3, 115));
        // The keys (Space, the arrows) start with the main window.
        QCOMPARE(app.frame->focusWidget(), &app.Form());
        // The window never gets a client area below 800 x 600.
        QVERIFY(app.Form().minimumWidth() >= 800 && app.Form().minimumHeight() >= 600);
        app.SetClientSize(1200, 900);
        QCOMPARE(render.geometry(), QRect(90, 0, 1110, 700));
        QCOMPARE(motion->geometry(), QRect(333, 703, 1200 - 333 - 5, 198));
        // Toolbars ride on the top edge of their views.
        int toolbars = 0;
        for (QWidget* toolbar : app.Form().findChildren<QWidget*>(IdName(IDD_VIEW_TOOLBAR))) {
            const int view = toolbar->property("viewIndex").toInt();
            const PixelRect& r = app.Form().Views().views[view].rect;
            QCOMPARE(toolbar->geometry(), QRect(r.left + 92, r.top + 2, r.Width(), 16 * ToolbarRows(r.Width())));
            QVERIFY(toolbar->isVisible());
            ++toolbars;
        }
        QCOMPARE(toolbars, 4);
    }

    void firstFramesShowThePanelsThenCheckTheTree()
    {
        RunningApp app(Settings());
        QVERIFY(app.Form().findChild<QWidget*>(IdName(IDD_MOTION_PANEL))->isVisible());
        auto* tree = app.Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        QVERIFY(tree != nullptr);
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("root"));
        QCOMPARE(tree->topLevelItem(0)->checkState(0), Qt::Checked);
    }

    void startupFileAddsAPartByItsNameAndOtherNamesDoNothing()
    {
        TempFolder data;
        {
            Scene scratch;
            sceneparts::AddBoxPart(scratch, data, "arm", {0, 0, 0}, 10);
        }
        RunningApp app(Settings(), data.File("arm.mesh"));
        QCOMPARE(app.scene.PartCount(), 1);
        auto* tree = app.Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QString("arm"));
        QVERIFY(app.frame->windowTitle().contains("arm"));

        data.Write("notes.txt", "not a model");
        RunningApp other(Settings(), data.File("notes.txt"));
        QCOMPARE(other.scene.PartCount(), 0);
    }

    void helpOpensOurPageAndVersionDialogShowsNameAndVersion()
    {
        RunningApp app(Settings());
        QUrl opened;
        app.Form().openUrl = [&](const QUrl& url) {
            opened = url;
            return true;
        };
        app.frame->Action(ID_HELP_CONTENTS)->trigger();
        QVERIFY(opened.isLocalFile());
        QVERIFY(QFileInfo::exists(opened.toLocalFile()));
        QVERIFY(opened.toLocalFile().endsWith("help/index.html"));
        app.frame->Action(ID_HELP_GUIDE)->trigger();
        QVERIFY(QFileInfo::exists(opened.toLocalFile()));
        QVERIFY(opened.toLocalFile().endsWith("guide/index.html"));

        QStringList texts;
        QString caption, address;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            QWidget* dialog = QApplication::activeModalWidget();
            caption = dialog->windowTitle();
            for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
            if (auto* edit = dialog->findChild<QLineEdit*>(IdName(IDC_ABOUT_ADDRESS))) address = edit->text();
            static_cast<QDialog*>(dialog)->accept();
        });
        app.frame->Action(ID_APP_ABOUT)->trigger();
        QCOMPARE(caption, QString("バージョン情報"));
        QVERIFY(texts.contains("Marionettica3D"));
        QVERIFY(texts.contains("Ver1.0.0"));
        QVERIFY(address.startsWith("https://"));
    }

    void renderingFrameworkDrivesTheRenderWindowsContext()
    {
        RunningApp app(Settings());
        CAppForm& form = app.Form();
        QVERIFY(form.active);
        QVERIFY(form.device != nullptr);
        const FormatCombo* combo = form.ChosenCombo();
        QVERIFY(combo != nullptr);
        // The chosen formats are the context's own.
        const QSurfaceFormat format = app.Render().context()->format();
        QCOMPARE(format.depthBufferSize(), 24);
        QCOMPARE(combo->depthStencilFormats.front(),
                 format.stencilBufferSize() == 8 ? GraphicsFormat::D24S8 : GraphicsFormat::D24X8);
        QCOMPARE(combo->backBufferFormat,
                 format.alphaBufferSize() == 8 ? GraphicsFormat::A8R8G8B8 : GraphicsFormat::X8R8G8B8);
        QVERIFY(!form.catalog.Adapters().front().identifier.description.empty());
        QCOMPARE(form.backBufferDesc.width, 910u);
        // Every size change resets the device to the new render window size.
        app.SetClientSize(1100, 820);
        QCOMPARE(form.presentParams.backBufferWidth, 1010u);
        QCOMPARE(form.presentParams.backBufferHeight, 620u);
        QCOMPARE(form.backBufferDesc.width, 1010u);
        QVERIFY(form.deviceStateRestored);
        QCOMPARE(app.Grab().size(), QSize(1010, 620));
    }

    void nothingIsDrawnWhileNothingChanges()
    {
        RunningApp app(Settings());
        // The start's frames first: on a loaded machine they may come late.
        int before = -1;
        for (int wait = 0; wait < 30 && before != app.Form().FramesDrawn(); ++wait) {
            before = app.Form().FramesDrawn();
            QTest::qWait(300);
        }
        QTest::qWait(1000);
        QCOMPARE(app.Form().FramesDrawn(), before);
        // A change draws again.
        app.Form().RequestRedraw();
        QTRY_VERIFY(app.Form().FramesDrawn() > before);
    }
};

M3D_UI_TEST(AppShellTest);
#include "AppShellTest.moc"
