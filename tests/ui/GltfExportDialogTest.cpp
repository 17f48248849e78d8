#include "app/CommandIds.h"
#include "editor/PartCommands.h"
#include "settings/ProfileFile.h"
#include "ui/DialogAnswers.h"
#include "ui/ExportTestFiles.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace m3d;

// File › Export's glTF export, on a window that starts without Parts and
// whose settings file names the export folder "start".
class GltfExportDialogTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    std::string settings;

    const std::string& Settings() const { return settings; }
    QAction* Action(int id) const { return app->frame->Action(id); }

private Q_SLOTS:
    void initTestCase()
    {
        settings = WriteExportTestFiles(folder, "gltf.ini", "EXPORT_GLTF");
        app = std::make_unique<RunningApp>(Settings());
    }
    void cleanupTestCase() { QCOMPARE(unexpectedDialog, QString()); }

    // Where the item sits is the shell's test; here: its text and the refusal without Parts.
    void theItemSaysWhenThereIsNoPart()
    {
        QAction* gltf = Action(ID_EXPORT_GLTF);
        QCOMPARE(gltf->text(), QString("glTF出力（&T）"));
        QVERIFY(gltf->isEnabled());
        QString said;
        AnswerNextDialog<QMessageBox>([&said](QMessageBox* box) {
            said = box->text();
            box->accept();
        });
        gltf->trigger();
        QVERIFY2(said.contains("オブジェクトが存在しない"), qPrintable(said));
        QVERIFY(AddObject(app->session, folder.File("box.mesh")));
    }

    // The save dialog asks about the .gltf; a file beside it that no export wrote is asked about once more.
    void aFileBesideTheGltfIsAskedAboutBeforeAnythingIsWritten()
    {
        std::ofstream(folder.File("out/other.bin")) << "theirs";
        AnswerLengthScale("1", "高さ 10 m", "1", "高さ 10 m");
        AnswerNextDialog<QFileDialog>(
            [this](QFileDialog* files) { AcceptTypedFileName(files, folder.File("out/other.gltf")); });
        QString said;
        AnswerNextMessageBox(QMessageBox::No, &said);
        Action(ID_EXPORT_GLTF)->trigger();
        QTRY_COMPARE(said, QString("glTF出力: 「other.bin」は存在します。上書きしますか？"));
        QVERIFY(!std::filesystem::exists(folder.File("out/other.gltf")));
        std::ifstream kept(folder.File("out/other.bin"));
        std::string text;
        kept >> text;
        QCOMPARE(text, std::string("theirs"));
    }

    void anExportThroughTheDialogWritesTheFileAndItsFolderIsKept()
    {
        const std::string typed = folder.File("out/model");
        // A project of no unit: its numbers go as metres unless a scale is typed.
        AnswerLengthScale("1", "高さ 10 m", "0.01", "高さ 10 cm");
        AnswerNextDialog<QFileDialog>([this, typed](QFileDialog* files) {
            QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(files->defaultSuffix(), QString("glb"));
            QCOMPARE(files->directory().absolutePath(), QString::fromStdString(folder.File("start")));
            QCOMPARE(files->windowTitle(), QString("glTF出力"));
            AcceptTypedFileName(files, typed);
        });
        QString done;
        AnswerNextMessageBox(QMessageBox::Ok, &done);
        Action(ID_EXPORT_GLTF)->trigger();
        QVERIFY(std::filesystem::exists(folder.File("out/model.glb")));
        QCOMPARE(done, QString::fromStdString("glTF出力: " + folder.File("out/model.glb") + " に書き出しました。"));
        QVERIFY(std::filesystem::file_size(folder.File("out/model.glb")) > 0);

        AnswerNextDialog<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
        app.reset();
        ProfileFile profile;
        const Outcome loaded = profile.Load(Settings());
        QVERIFY2(loaded, loaded.Message().c_str());
        QCOMPARE(profile.GetString("DIRECTORY", "EXPORT_GLTF", ""), folder.File("out"));
    }
};

M3D_UI_TEST(GltfExportDialogTest);
#include "GltfExportDialogTest.moc"
