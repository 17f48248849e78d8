#include "anim/MotionOperations.h"
#include "app/CommandIds.h"
#include "app/FieldDialog.h"
#include "editor/MotionCommands.h"
#include "settings/ProfileFile.h"
#include "ui/DialogAnswers.h"
#include "ui/ExportTestFiles.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

#include <filesystem>
#include <fstream>

#ifdef M3D_HAVE_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#endif

using namespace m3d;

namespace {

// Records the caption and text of the next message box and closes it.
void AnswerMessage(QString& said)
{
    AnswerNextDialog<QMessageBox>([&said](QMessageBox* box) {
        said = box->windowTitle() + ": " + box->text();
        box->accept();
    });
}

void PressButton(QDialog* dialog, const QString& text)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->text() == text) button->click();
}

// Checks the time scale dialog, types factor into it and presses OK.
void AnswerTimeScale(const QString& shown, const QString& factor)
{
    AnswerNextDialog<FieldDialog>([shown, factor](FieldDialog* dialog) {
        QCOMPARE(dialog->objectName(), IdName(IDD_EXPORT_XFILE));
        QLineEdit* field = dialog->Field();
        QCOMPARE(field->objectName(), IdName(IDC_TIME_SCALE_FACTOR));
        QCOMPARE(field->text(), shown);
        field->selectAll();
        QTest::keyClicks(field, factor);
        PressButton(dialog, "OK");
    });
}

// Checks where the save dialog starts, then chooses path (or cancels when "").
void AnswerSaveFile(const std::string& startFolder, const std::string& path)
{
    AnswerNextDialog<QFileDialog>([startFolder, path](QFileDialog* files) {
        QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(files->windowTitle(), QString("Export xfile"));
        QCOMPARE(files->nameFilters(), QStringList{"xﾌｧｲﾙ(*.x)"});
        QCOMPARE(files->defaultSuffix(), QString("x"));
        QCOMPARE(files->directory().absolutePath(), QString::fromStdString(startFolder));
        if (path.empty()) {
            files->reject();
            return;
        }
        AcceptTypedFileName(files, path);
    });
}

}  // namespace

// One box Part; the export folder of the settings file starts at "start".
class ExportDialogTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;
    std::unique_ptr<RunningApp> app;

    std::string settings;

    const std::string& Settings() const { return settings; }
    void Open() { app = std::make_unique<RunningApp>(Settings(), folder.File("box.mesh")); }
    void Trigger(int id) { app->frame->Action(id)->trigger(); }
    // Closes the window without saving the project; the settings are written.
    void CloseWithoutSaving()
    {
        AnswerNextMessageBox(QMessageBox::No);
        app.reset();
    }

private Q_SLOTS:
    void initTestCase()
    {
        settings = WriteExportTestFiles(folder, "export.ini", "EXPORT_XFILE");
        Open();
    }
    void cleanupTestCase()
    {
        CloseWithoutSaving();
        QCOMPARE(unexpectedDialog, QString());
    }

    void withoutAMotionTheExportIsRefusedBeforeItsDialogs()
    {
        QVERIFY(app->frame->Action(ID_EXPORT_XFILE)->isEnabled());
        QString said;
        AnswerMessage(said);
        Trigger(ID_EXPORT_XFILE);
        QCOMPARE(said, QString("Export xfile: モーションが存在しない"));
    }

    void timeScaleDialogStaysOpenOnAFactorOutOfRangeAndCancelWritesNothing()
    {
        QVERIFY(NewMotionCommand(app->session, "walk"));
        AnswerNextDialog<FieldDialog>([](FieldDialog* dialog) {
            QCOMPARE(dialog->objectName(), IdName(IDD_EXPORT_XFILE));
            QCOMPARE(dialog->windowTitle(), QString("Export XFile"));
            auto* field = dialog->findChild<QLineEdit*>(IdName(IDC_TIME_SCALE_FACTOR));
            QCOMPARE(field->text(), QString("200"));
            QVERIFY(dialog->findChild<QWidget*>(IdName(IDC_TIME_SCALE_FACTOR_SPIN)) != nullptr);
            for (const char* refused : {"0", "1001"}) {
                field->selectAll();
                QTest::keyClicks(field, refused);
                QString said;
                AnswerMessage(said);
                PressButton(dialog, "OK");
                QCOMPARE(said, QString("Marionettica3D: 1 から 1000 までの整数を入力してください。"));
                QVERIFY(dialog->isVisible());
            }
            PressButton(dialog, "ｷｬﾝｾﾙ");
        });
        Trigger(ID_EXPORT_XFILE);
        QCOMPARE(app->Form().Settings().timeScaleFactor, 200);
        QVERIFY(std::filesystem::is_empty(folder.File("start")));
    }

    void turningTheMotionAroundFromTheMenuTurnsItsKeysInOneUndoStep()
    {
        QVERIFY(SetKeyMatrix(app->scene, 0, 0, 10, MatrixTranslation(3, 1, 4)));
        const int before = app->session.History().StepCount();
        Trigger(ID_MOTION_TURN_Z);
        const std::vector<KeyFrame>& keys = app->scene.Motions()[0].tracks[0].keys;
        QCOMPARE(int(keys.size()), 2);
        const Vec3 moved = keys[1].matrix.Translation();
        QVERIFY(std::abs(moved.x + 3) < 1e-5f && moved.y == 1 && std::abs(moved.z + 4) < 1e-5f);
        QCOMPARE(app->session.History().StepCount(), before + 1);
    }

    void aFailedWriteNamesTheFileAndKeepsTheFolder()
    {
        const std::string path = folder.File("missing/model.x");
        AnswerTimeScale("200", "200");
        AnswerLengthScale("1", "高さ 10", "1", "高さ 10");
        AnswerSaveFile(folder.File("start"), path);
        QString said;
        AnswerMessage(said);
        Trigger(ID_EXPORT_XFILE);
        QVERIFY2(said.startsWith("Export xfile: ファイルが書き込めない"), qPrintable(said));
        QVERIFY2(said.contains(QString::fromStdString(path)), qPrintable(said));
        QCOMPARE(app->Form().Settings().exportXFileDirectory, folder.File("start"));
    }

    void anExportWritesAFileAReaderLoadsAndItsFolderAndFactorOutliveARestart()
    {
        AnswerTimeScale("200", "150");
        // Lengths twice as long: the box twice as tall, its keys twice as far.
        AnswerLengthScale("1", "高さ 10", "2", "高さ 20");
        AnswerSaveFile(folder.File("start"), folder.File("out/model"));
        QString done;
        AnswerMessage(done);
        Trigger(ID_EXPORT_XFILE);
        const std::string written = folder.File("out/model.x");
        QVERIFY(std::filesystem::exists(written));
        // The export says where it wrote.
        QCOMPARE(done, QString::fromStdString("Export xfile: " + written + " に書き出しました。"));
#ifdef M3D_HAVE_ASSIMP
        Assimp::Importer importer;
        const aiScene* read = importer.ReadFile(written, 0);
        QVERIFY2(read != nullptr, importer.GetErrorString());
        QCOMPARE(read->mNumAnimations, 1u);
        const aiNodeAnim* channel = read->mAnimations[0]->mChannels[0];
        QCOMPARE(channel->mNumPositionKeys, 3u);  // frames 0, 10 and the length 60
        QCOMPARE(channel->mPositionKeys[1].mTime, 10.0 * 150);
        QCOMPARE(channel->mPositionKeys[2].mTime, 60.0 * 150);
        QCOMPARE(channel->mPositionKeys[1].mValue.x, -6.0f);
#endif
        CloseWithoutSaving();
        ProfileFile profile;
        const Outcome loaded = profile.Load(Settings());
        QVERIFY2(loaded, loaded.Message().c_str());
        QCOMPARE(profile.GetString("DIRECTORY", "EXPORT_XFILE", ""), folder.File("out"));
        QCOMPARE(profile.GetString("ANIMATION", "TIMESCALEFACTOR", ""), std::string("150"));

        Open();
        QVERIFY(NewMotionCommand(app->session, "walk"));
        AnswerTimeScale("150", "150");
        AnswerLengthScale("1", "高さ 10", "1", "高さ 10");
        AnswerSaveFile(folder.File("out"), "");
        Trigger(ID_EXPORT_XFILE);
    }
};

M3D_UI_TEST(ExportDialogTest);
#include "ExportDialogTest.moc"
