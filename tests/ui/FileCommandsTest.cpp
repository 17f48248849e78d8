#include "app/CommandIds.h"
#include "editor/MotionCommands.h"
#include "editor/OptionCommands.h"
#include "app/MeshOverwriteDialog.h"
#include "app/QtUserPrompt.h"
#include "scene/ProjectFile.h"
#include "support/SceneParts.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QMessageBox>
#include <QTreeWidget>
#include <QtTest>

using namespace m3d;

class FileCommandsTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;

private Q_SLOTS:
    void initTestCase()
    {
        Scene scratch;
        sceneparts::AddBoxPart(scratch, folder, "arm", {0, 0, 0}, 10);
        sceneparts::AddBoxPart(scratch, folder, "leg", {0, -30, 0}, 10);
    }

    void dialogFiltersTakeTheDescriptionAndPatternPairs()
    {
        QCOMPARE(QtUserPrompt::DialogFilter("ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||"), QString("ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)"));
        QCOMPARE(QtUserPrompt::DialogFilter("Models|*.mqo;*.mesh|All|*||"), QString("Models (*.mqo;*.mesh);;All (*)"));
        QCOMPARE(QtUserPrompt::DialogFilter(""), QString());
    }

    void aDroppedModelFileIsAddedAndOtherDropsAreIgnored()
    {
        RunningApp app(folder.File("drop.ini"));
        QVERIFY(app.Form().acceptDrops());
        auto drop = [&](const std::vector<std::string>& paths) { app.Form().FilesDropped(paths); };
        const std::string arm = folder.File("arm.mesh");
        drop({arm, arm});  // two files at once: nothing
        QCOMPARE(app.scene.PartCount(), 0);
        drop({arm});
        QCOMPARE(app.scene.PartCount(), 1);
        QCOMPARE(app.session.History().StepCount(), 1);

        // An unreadable model says which file and why, and adds nothing; a
        // project the user then declines shows no message.
        folder.Write("broken.mqo", "Metasequoia Document\nObject \"b\" {\n");
        QString said;
        AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            said = box->windowTitle() + ": " + box->text();
            box->button(QMessageBox::Ok)->click();
        });
        drop({folder.File("broken.mqo")});
        QVERIFY2(said.startsWith("Error: ") && said.contains("broken.mqo"), qPrintable(said));
        QCOMPARE(app.scene.PartCount(), 1);
        AnswerNextDialog<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
        drop({folder.File("take.anm")});
        QCOMPARE(app.scene.PartCount(), 1);
        QCOMPARE(unexpectedDialog, QString());
    }

    void saveAsWritesTheProjectAndOpenReadsItBack()
    {
        // A folder of its own: saving writes arm.mesh beside the project, and
        // an existing one would be a question.
        QVERIFY(QDir().mkpath(QString::fromStdString(folder.File("project"))));
        const std::string project = folder.File("project/pose.anm");
        {
            RunningApp app(folder.File("file.ini"), folder.File("arm.mesh"));
            QCOMPARE(app.scene.PartCount(), 1);
            QVERIFY(NewMotionCommand(app.session, "walk"));  // a project needs a Motion to be saved
            AnswerNextDialog([&](QWidget* dialog) {
                auto* files = qobject_cast<QFileDialog*>(dialog);
                QVERIFY(files != nullptr);
                QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
                AcceptTypedFileName(files, project);
            });
            app.frame->Action(ID_FILE_SAVE_AS)->trigger();
            QVERIFY(QFileInfo::exists(QString::fromStdString(project)));
            QVERIFY(QFileInfo::exists(QString::fromStdString(folder.File("project/arm.mesh"))));
            QCOMPARE(app.scene.projectPath, project);
            QVERIFY(app.frame->windowTitle().contains("pose.anm"));
            QVERIFY(!app.frame->windowTitle().endsWith(" *"));

            // With something unsaved (marked in the title) New asks first; No keeps the scene, Yes clears it.
            QVERIFY(NewMotionCommand(app.session, "unsaved"));
            QVERIFY(app.frame->windowTitle().endsWith(" *"));
            AnswerNextDialog([](QWidget* dialog) {
                auto* box = qobject_cast<QMessageBox*>(dialog);
                QVERIFY(box != nullptr);
                QCOMPARE(box->windowTitle(), QString("新規作成"));
                box->button(QMessageBox::No)->click();
            });
            app.frame->Action(ID_FILE_NEW)->trigger();
            QCOMPARE(app.scene.PartCount(), 1);
            AnswerNextDialog(
                [](QWidget* dialog) { qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Yes)->click(); });
            app.frame->Action(ID_FILE_NEW)->trigger();
            QCOMPARE(app.scene.PartCount(), 0);
            // The new document is untitled: the old project's name is gone from the title.
            QVERIFY2(!app.frame->windowTitle().contains("pose.anm"), qPrintable(app.frame->windowTitle()));
            QVERIFY(app.frame->windowTitle().contains("名称未設定"));
            auto* tree = app.Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
            QCOMPARE(tree->topLevelItem(0)->childCount(), 0);

            AnswerNextDialog([&](QWidget* dialog) {
                auto* files = qobject_cast<QFileDialog*>(dialog);
                QVERIFY(files != nullptr);
                QCOMPARE(files->acceptMode(), QFileDialog::AcceptOpen);
                AcceptTypedFileName(files, project);
            });
            app.frame->Action(ID_FILE_OPEN)->trigger();
            QCOMPARE(app.scene.PartCount(), 1);
            QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QString("arm"));
            QCOMPARE(app.scene.MotionCount(), 1);
            // The File menu lists the project, saved and opened, once.
            Q_EMIT app.frame->menuBar()->actions().front()->menu()->aboutToShow();
            QCOMPARE(app.frame->Action(ID_FILE_MRU_FIRST)->text(), "&1 " + QString::fromStdString(project));
            QVERIFY(app.frame->Action(ID_FILE_MRU_FIRST + 1) == nullptr);
            // Just opened, nothing is unsaved: closing would ask nothing. After
            // an edit it asks whether to save; Cancel keeps the window open, No closes it.
            QVERIFY(!app.frame->windowTitle().endsWith(" *"));
            QVERIFY(NewMotionCommand(app.session, "unsaved"));
            QString question;
            AnswerNextMessageBox(QMessageBox::Cancel, &question);
            app.frame->close();
            QCOMPARE(question, QString("終了: 現在のデータを保存しますか？"));
            QVERIFY(app.frame->isVisible());
            AnswerNextMessageBox(QMessageBox::No);
            app.Close();
        }
        QCOMPARE(unexpectedDialog, QString());
    }

    void savingAgainAsksAboutEveryMeshFileAndARefusedOneLeavesTheMark()
    {
        QVERIFY(QDir().mkpath(QString::fromStdString(folder.File("again"))));
        const std::string project = folder.File("again/pose.anm");
        RunningApp app(folder.File("again.ini"), folder.File("arm.mesh"));
        app.scene.SelectTreeItem(app.scene.rootPart.treeItem);
        app.Form().OpenStartupFile(folder.File("leg.mesh"));
        QVERIFY(NewMotionCommand(app.session, "walk"));
        QtUserPrompt prompt(app.frame.get());
        QVERIFY(SaveProject(app.scene, project, prompt));  // into an empty folder: no question
        QCOMPARE(app.scene.projectPath, project);

        // The second save finds both .mesh files. Escape on the first backs
        // out of the save: nothing is written and nothing more is asked.
        QStringList asked;
        auto answer = [&](int button) {
            AnswerNextDialog<MeshOverwriteDialog>([&asked, button](MeshOverwriteDialog* dialog) {
                QCOMPARE(dialog->objectName(), IdName(226));
                QCOMPARE(dialog->windowTitle(), QString("meshファイル出力"));
                asked << dialog->findChild<QLabel*>(IdName(2178))->accessibleName();
                const std::pair<int, QString> buttons[] = {
                    {2175, "はい"}, {2176, "すべてはい"}, {2177, "いいえ"}, {2067, "キャンセル"}};
                for (const auto& [id, text] : buttons)
                    QCOMPARE(dialog->findChild<QPushButton*>(IdName(id))->text(), text);
                if (button == 0)
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else
                    dialog->findChild<QPushButton*>(IdName(button))->click();
            });
        };
        const auto armQuestion =
            QString::fromStdString(folder.File("again/arm.mesh")) + "は存在しています。上書きしますか？";
        const auto legQuestion =
            QString::fromStdString(folder.File("again/leg.mesh")) + "は存在しています。上書きしますか？";
        const auto readProject = [&] {
            QFile file(QString::fromStdString(project));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = readProject();
        QVERIFY(ScaleCommand(app.session, 2));
        AnswerNextMessageBox(QMessageBox::Yes);  // the project file itself is replaced
        answer(0);
        app.frame->Action(ID_FILE_SAVE)->trigger();
        QCOMPARE(asked, QStringList({armQuestion}));
        QCOMPARE(readProject(), before);
        QVERIFY(app.frame->windowTitle().endsWith(" *"));

        // "いいえ" keeps arm.mesh, which no longer holds the scaled arm: the
        // save says it is partial and the title keeps its mark.
        asked.clear();
        QString said;
        AnswerNextMessageBox(QMessageBox::Yes);
        answer(2177);
        answer(2176);
        AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            said = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        app.frame->Action(ID_FILE_SAVE)->trigger();
        QCOMPARE(asked, QStringList({armQuestion, legQuestion}));
        QVERIFY2(said.contains(QString::fromStdString(folder.File("again/arm.mesh"))), qPrintable(said));
        QVERIFY(app.frame->windowTitle().endsWith(" *"));
        AnswerNextMessageBox(QMessageBox::No);  // the question whether to save before closing
        app.Close();
        QCOMPARE(unexpectedDialog, QString());
    }
};

M3D_UI_TEST(FileCommandsTest);
#include "FileCommandsTest.moc"
