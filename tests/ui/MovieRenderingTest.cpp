#include "app/CommandIds.h"
#include "app/MovieRendering.h"
#include "app/QtUserPrompt.h"
#include "io/MovieFileNames.h"
#include "io/TaskProgress.h"
#include "editor/history/PoseChange.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <cstring>

using namespace m3d;

class MovieRenderingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void framesOfTheMotionAreWrittenAsOneSetAndThePoseStays()
    {
        TempFolder folder;
        RunningApp app(folder.File("movie.ini"), M3D_SAMPLE_FIGURE, 1000, 700);
        app.session.SelectMotion(0);
        const PoseSnapshot before = SnapshotOf(app.scene);
        MovieExportChoices choices = DefaultMovieExport(app.session, folder.File(""));
        choices.firstFrame = 0;
        choices.lastFrame = 4;
        choices.width = 160;
        choices.height = 120;
        choices.path = folder.File("walk%02d.png");
        QtUserPrompt prompt(app.frame.get());
        QVERIFY(RenderMovie(app.Form(), choices, nullptr, prompt).Ok());
        // One picture a frame, named after the Motion's frame, of the size asked.
        for (int frame = 0; frame <= 4; ++frame) {
            const QImage picture(
                QString::fromStdString(folder.File(QString::asprintf("walk%02d.png", frame).toStdString())));
            QCOMPARE(picture.size(), QSize(160, 120));
        }
        QVERIFY(!folder.Exists("walk05.png"));
        QVERIFY(QImage(QString::fromStdString(folder.File("walk00.png"))) !=
                QImage(QString::fromStdString(folder.File("walk04.png"))));
        const PoseSnapshot after = SnapshotOf(app.scene);
        QCOMPARE(
            std::memcmp(after.meshWorlds.data(), before.meshWorlds.data(), before.meshWorlds.size() * sizeof(Matrix4)),
            0);

        // A cancel writes nothing; a transparent background stays transparent.
        choices.path = folder.File("cancelled.webp");
        struct StopAfterTwo : TaskProgress {
            bool Report(uint64_t done, uint64_t) override { return done < 2; }
        } stop;
        QVERIFY(RenderMovie(app.Form(), choices, &stop, prompt).Cancelled());
        QVERIFY(!folder.Exists("cancelled.webp"));
        choices.path = folder.File("still.png");
        choices.firstFrame = choices.lastFrame = 2;
        choices.background.reset();
        QVERIFY(RenderMovie(app.Form(), choices, nullptr, prompt).Ok());
        QCOMPARE(qAlpha(QImage(QString::fromStdString(folder.File("still.png"))).pixel(0, 0)), 0);

        AnswerNextMessageBox(QMessageBox::No);  // the close question, should one come
        app.Close();
    }

    void theFileMenuRendersTheChosenFramesInTheChosenFormat()
    {
        TempFolder folder;
        RunningApp app(folder.File("menu.ini"), M3D_SAMPLE_FIGURE, 1000, 700);
        app.session.SelectMotion(0);
        AnswerNextDialog([&](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), IdName(IDD_RENDER_MOVIE));
            auto* path = dialog->findChild<QLineEdit*>(IdName(IDC_MOVIE_PATH));
            path->setText(QString::fromStdString(folder.File("walk.webp")));
            auto* format = dialog->findChild<QComboBox*>(IdName(IDC_MOVIE_FORMAT));
            auto* transparent = dialog->findChild<QCheckBox*>(IdName(IDC_MOVIE_TRANSPARENT));
            Q_EMIT format->activated(int(MovieKind::Mp4));
            QVERIFY(!transparent->isEnabled());  // a video has no transparency
            Q_EMIT format->activated(int(MovieKind::Gif));
            QVERIFY(transparent->isEnabled());
            QCOMPARE(path->text(), QString::fromStdString(folder.File("walk.gif")));
            dialog->findChild<QSpinBox*>(IdName(IDC_MOVIE_LAST_FRAME))->setValue(3);
            dialog->findChild<QSpinBox*>(IdName(IDC_MOVIE_WIDTH))->setValue(64);
            dialog->findChild<QSpinBox*>(IdName(IDC_MOVIE_HEIGHT))->setValue(48);
            dialog->findChild<QPushButton*>(IdName(IDOK))->click();
        });
        QString said;
        AnswerNextMessageBox(QMessageBox::Ok, &said);
        app.frame->Action(ID_FILE_RENDER_MOVIE)->trigger();
        QVERIFY2(said.contains(QString::fromStdString(folder.File("walk.gif"))), qPrintable(said));
        QImageReader gif(QString::fromStdString(folder.File("walk.gif")));
        QCOMPARE(gif.imageCount(), 4);
        QCOMPARE(gif.size(), QSize(64, 48));
        // The next time the dialog starts from what was rendered.
        AnswerNextDialog([&](QWidget* dialog) {
            QCOMPARE(dialog->findChild<QSpinBox*>(IdName(IDC_MOVIE_WIDTH))->value(), 64);
            QVERIFY(dialog->findChild<QLineEdit*>(IdName(IDC_MOVIE_PATH))->text().endsWith(".gif"));
            dialog->findChild<QPushButton*>(IdName(IDCANCEL))->click();
        });
        app.frame->Action(ID_FILE_RENDER_MOVIE)->trigger();
        AnswerNextMessageBox(QMessageBox::No);
        app.Close();
        QCOMPARE(unexpectedDialog, QString());
    }
};

M3D_UI_TEST(MovieRenderingTest);
#include "MovieRenderingTest.moc"
