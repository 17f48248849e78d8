#include "app/CommandIds.h"
#include "editor/MotionCommands.h"
#include "editor/RecoveryFolder.h"
#include "scene/ProjectFile.h"
#include "support/CliRun.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QAbstractButton>
#include <QProcess>

#include <csignal>
#include <cstdlib>

namespace m3d {

namespace {

std::map<std::string, std::string> FilesIn(const TempFolder& folder)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : folder.Names()) files[name] = folder.Read(name);
    return files;
}

}  // namespace

class AutosaveRecoveryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedEditorComesBackAsItsSnapshot()
    {
        TempFolder state, project, expected, settings;
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.path));
        {
            EditorSession maker;
            AddCubeUnder(maker.GetScene(), project, -1, "body.mqo");
            AddCubeUnder(maker.GetScene(), project, 0, "arm.mqo");
            NewMotionCommand(maker, "walk");
            ScriptedPrompt prompt;
            QVERIFY(SaveProject(maker.GetScene(), project.File("robot.anm"), prompt));
        }
        settings.Write("m3d.ini", "[RECOVERY]\nINTERVAL_MINUTES=0.02\n");

        QProcess editor;
        editor.start(QStringLiteral(M3D_AUTOSAVE_CHILD), {QString::fromStdString(settings.File("m3d.ini")),
                                                          QString::fromStdString(project.File("robot.anm")),
                                                          QString::fromStdString(expected.File("robot.anm"))});
        QVERIFY(editor.waitForStarted());
        // What it says may come in pieces.
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT(
            (said += editor.readAllStandardOutput()).contains("ready") || editor.state() != QProcess::Running, 60000);
        QCOMPARE(editor.state(), QProcess::Running);
        // A second program beside the running one finds nothing to recover.
        CliResult listed = RunCli("recover --list", state.File("err.txt"));
        QCOMPARE(listed.out, std::string("[]\n"));
        ::kill(pid_t(editor.processId()), SIGKILL);
        QVERIFY(editor.waitForFinished());
        listed = RunCli("recover --list", state.File("err.txt"));
        QVERIFY2(listed.out.find("\"originalPath\":\"" + expected.File("robot.anm") + "\",") != std::string::npos,
                 listed.out.c_str());
        QVERIFY(listed.out.find("\"parts\":2,\"motions\":1}]") != std::string::npos);

        // The next start offers it; restored, it saves what the save at its time wrote.
        AnswerNextDialog([](QDialog* dialog) {
            QVERIFY(dialog->objectName() == IdName(IDD_RECOVERY));
            dialog->findChild<QAbstractButton*>(IdName(IDC_RECOVERY_RESTORE))->click();
        });
        auto app = std::make_unique<RunningApp>(settings.File("m3d.ini"), std::nullopt, 1000, 800,
                                                kDefaultInterfaceLanguage, DefaultRecoveryFolder());
        QTRY_VERIFY_WITH_TIMEOUT(app->scene.PartCount() == 2, 5000);
        QVERIFY(unexpectedDialog.isEmpty());
        QCOMPARE(app->scene.projectPath, expected.File("robot.anm"));
        QVERIFY(app->session.TitleText().ends_with(" *"));
        TempFolder resaved;
        ScriptedPrompt prompt;
        QVERIFY(SaveProject(app->scene, resaved.File("robot.anm"), prompt));
        QVERIFY(FilesIn(resaved) == FilesIn(expected));

        // Closed without saving, the program leaves nothing to recover.
        AnswerNextMessageBox(QMessageBox::No);
        app->Close();
        QVERIFY(unexpectedDialog.isEmpty());
        QCOMPARE(RunCli("recover --list", state.File("err.txt")).out, std::string("[]\n"));
        qunsetenv("XDG_STATE_HOME");
    }
};

M3D_UI_TEST(AutosaveRecoveryTest);

}  // namespace m3d

#include "AutosaveRecoveryTest.moc"
