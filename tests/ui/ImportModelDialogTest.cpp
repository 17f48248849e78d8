#include "app/CommandIds.h"
#include "app/ImportOptionsDialog.h"
#include "editor/MenuCommandIds.h"
#include "support/TakesGltf.h"
#include "ui/DialogAnswers.h"
#include "ui/ExportTestFiles.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include "meshlib/CMeshBase.h"
#include "meshlib/TextureWriter.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>

using namespace m3d;

// File > Import Model on a window without Parts, with the reader program the
// build puts beside the window's.
class ImportModelDialogTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    QAction* Import() const { return app->frame->Action(ID_FILE_IMPORT_MODEL); }

    // Chooses path in the file dialog.
    static void AnswerFile(const std::string& path)
    {
        AnswerNextDialog<QFileDialog>([path](QFileDialog* files) {
            QVERIFY(files->nameFilters().front().contains("*.glb"));
            AcceptTypedFileName(files, path);
        });
    }

    // Chooses path, then types scale into the options dialog (nothing: Cancel),
    // ticking the box for images outside the model's folder when outsideImages;
    // the dialog must propose the scale proposed and show the size sized, when given.
    void Answer(const std::string& path, const QString& scale, bool outsideImages = false,
                const QString& proposed = QString(), const QString& sized = QString())
    {
        AnswerFile(path);
        AnswerNextDialog<ImportOptionsDialog>([=](ImportOptionsDialog* dialog) {
            QCOMPARE(dialog->objectName(), IdName(IDD_IMPORT_MODEL));
            QLineEdit* field = dialog->ScaleField();
            QCOMPARE(field->objectName(), IdName(IDC_IMPORT_SCALE));
            auto* size = dialog->findChild<QLabel*>(IdName(IDC_IMPORT_SIZE));
            QVERIFY(size != nullptr);
            QVERIFY(!size->accessibleName().isEmpty());
            if (!proposed.isEmpty()) QCOMPARE(field->text(), proposed);
            if (!sized.isEmpty()) QCOMPARE(size->text(), sized);
            auto* outside = dialog->findChild<QCheckBox*>(IdName(IDC_IMPORT_OUTSIDE_IMAGES));
            QVERIFY(outside != nullptr);
            QCOMPARE(outside->accessibleDescription(), IdName(IDC_IMPORT_OUTSIDE_IMAGES));
            QVERIFY(!outside->isChecked());
            outside->setChecked(outsideImages);
            if (scale.isEmpty()) {
                dialog->reject();
                return;
            }
            field->selectAll();
            QTest::keyClicks(field, scale);
            dialog->accept();
        });
    }

private Q_SLOTS:
    void initTestCase() { app = std::make_unique<RunningApp>(folder.File("import.ini")); }
    void cleanupTestCase() { QCOMPARE(unexpectedDialog, QString()); }

    void theFileMenuOffersItAfterSaveAs()
    {
        QCOMPARE(Import()->text(), QString("モデルを読み込む（&I）..."));
        QMenu* file = nullptr;
        for (QObject* owner : app->frame->Action(ID_FILE_SAVE_AS)->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(owner)) file = menu;
        QVERIFY(file != nullptr);
        QVERIFY(file->actions().indexOf(Import()) > file->actions().indexOf(app->frame->Action(ID_FILE_SAVE_AS)));
    }

    void aCancelledScaleImportsNothingAndABrokenFileSaysWhy()
    {
        Answer(std::string(M3D_ASSIMP_MODELS) + "/3DS/RotatingCube.3DS", QString());
        Import()->trigger();
        QCOMPARE(app->scene.PartCount(), 0);
        folder.Write("broken.glb", "glTF\2\0\0\0");
        AnswerFile(folder.File("broken.glb"));
        QString said;
        AnswerNextMessageBox(QMessageBox::Ok, &said);
        Import()->trigger();
        QTRY_VERIFY(!said.isEmpty());
        QVERIFY2(said.contains(QString::fromStdString(folder.File("broken.glb"))), qPrintable(said));
        QCOMPARE(app->scene.PartCount(), 0);
    }

    void aModelComesInScaledAsOneUndoStep()
    {
        Answer(std::string(M3D_ASSIMP_MODELS) + "/3DS/RotatingCube.3DS", "2");
        Import()->trigger();
        QTRY_COMPARE(app->scene.PartCount(), 1);
        QCOMPARE(app->scene.MotionCount(), 1);
        QCOMPARE(app->scene.PartAt(0)->displayName, std::string("Box01"));
        QCOMPARE(QString::fromStdString(app->session.History().UndoLabel()), QString("モデルの読み込み"));
        app->session.History().Undo();
        QCOMPARE(app->scene.PartCount(), 0);
    }

    // An OBJ whose texture lies outside its folder: left out and said so, read when the box is ticked.
    void anImageOutsideTheFolderComesOnlyWhenTheBoxIsTicked()
    {
        folder.Write("canary.png", *EncodeTextureImage(TextureImage{1, 1, {255, 0, 0, 255}}, ImageFormat::Png));
        std::filesystem::create_directories(folder.File("dl"));
        folder.Write("dl/skin.mtl", "newmtl skin\nmap_Kd ../canary.png\n");
        folder.Write("dl/tri.obj", "mtllib skin.mtl\nusemtl skin\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
        for (const bool ticked : {false, true}) {
            // One unit wide and of unknown unit: a hundred to stand 100 units.
            Answer(folder.File("dl/tri.obj"), "1", ticked, "100", "1 × 1 × 0");
            QString said;
            if (!ticked) AnswerNextMessageBox(QMessageBox::Ok, &said);
            Import()->trigger();
            QTRY_COMPARE(app->scene.PartCount(), 1);
            QVERIFY2(said.contains("outside the model's folder") != ticked, qPrintable(said));
            int loaded = 0;
            for (int t = 0; t < app->scene.MeshBase().GetTextureNum(); ++t)
                loaded += app->scene.MeshBase().GetTexture(t)->image.width > 0 ? 1 : 0;
            app->session.History().Undo();
            QCOMPARE(loaded, ticked ? 1 : 0);
        }
    }

    // One take per object and action (WriteTakesGltf): the real actions come ticked, the others not;
    // only the ticked ones become Motions, from their first keys unless the box is cleared.
    void theAnimationsTickedBecomeMotions()
    {
        const std::string lamp = WriteTakesGltf(folder);
        AnswerFile(lamp);
        QStringList rows;
        AnswerNextDialog<ImportOptionsDialog>([&rows](ImportOptionsDialog* dialog) {
            auto* list = dialog->findChild<QTreeWidget*>(IdName(IDC_IMPORT_ANIMATIONS));
            QVERIFY(list != nullptr);
            QVERIFY(!list->accessibleName().isEmpty());
            auto* firstKey = dialog->findChild<QCheckBox*>(IdName(IDC_IMPORT_FIRST_KEY));
            QVERIFY(firstKey != nullptr && firstKey->isChecked());
            QCOMPARE(firstKey->accessibleDescription(), IdName(IDC_IMPORT_FIRST_KEY));
            firstKey->setChecked(false);
            for (int r = 0; r < list->topLevelItemCount(); ++r) {
                const QTreeWidgetItem* row = list->topLevelItem(r);
                rows << QStringList{row->checkState(0) == Qt::Checked ? "x" : "-", row->text(0), row->text(1),
                                    row->text(2)}
                            .join(' ');
            }
            list->topLevelItem(3)->setCheckState(0, Qt::Unchecked);  // "wave" left out
            dialog->accept();
        });
        Import()->trigger();
        QTRY_COMPARE(app->scene.PartCount(), 2);
        QCOMPARE(rows, (QStringList{"x hop 32 body", "- body|still 30 なし", "- arm|hop 32 body", "x wave 30 arm"}));
        QCOMPARE(app->scene.MotionCount(), 1);
        QCOMPARE(app->scene.MotionAt(0).name, std::string("hop"));
        QCOMPARE(app->scene.MotionAt(0).length, 32);
        app->session.History().Undo();
    }
};

M3D_UI_TEST(ImportModelDialogTest);
#include "ImportModelDialogTest.moc"
