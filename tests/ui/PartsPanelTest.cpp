#include "app/CommandIds.h"
#include "app/PartsTreePanel.h"
#include "editor/PartCommands.h"
#include "support/SceneFixtures.h"
#include "ui/DialogAnswers.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

using namespace m3d;

namespace {

// Clicks the OK button of the next message box and keeps its caption and text.
void AcceptNextMessage(QString& said)
{
    AnswerNextDialog<QMessageBox>([&said](QMessageBox* box) {
        said = box->windowTitle() + ": " + box->text();
        box->button(QMessageBox::Ok)->click();
    });
}

// Chooses path in the next file dialog after checking its title.
void ChooseFile(const QString& title, const std::string& path, QString* startFolder = nullptr)
{
    AnswerNextDialog<QFileDialog>([=](QFileDialog* files) {
        QCOMPARE(files->windowTitle(), title);
        QVERIFY(files->nameFilters().join("").startsWith(QString::fromUtf8(kObjectFileFilterName)));
        if (startFolder) *startFolder = files->directory().absolutePath();
        AcceptTypedFileName(files, path);
    });
}

template <class T>
T* Control(QWidget* in, int id)
{
    T* control = in->findChild<T*>(IdName(id));
    if (control == nullptr) qWarning("no control %d", id);
    return control;
}

QStringList TopLevelNames(RunningApp& app)
{
    QStringList names;
    QTreeWidgetItem* root = app.Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE))->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i) names << root->child(i)->text(0);
    return names;
}

constexpr int kButtons[] = {IDC_PARTS_ADD, IDC_PARTS_DELETE, IDC_PARTS_SWAP, IDC_PARTS_ADD_MIRRORED,
                            IDC_PARTS_SYMMETRY};
constexpr int kMenuItems[] = {ID_PARTS_ADD, ID_PARTS_DELETE, ID_PARTS_SWAP, ID_PARTS_ADD_MIRRORED, ID_PARTS_SYMMETRY};

}  // namespace

class PartsPanelTest : public QObject {
    Q_OBJECT
private:
    TempFolder folder;

    // Enabled states of the five buttons and of the five menu items, in order.
    static QString States(RunningApp& app)
    {
        QString states;
        for (int id : kButtons) states += Control<QPushButton>(&app.Form(), id)->isEnabled() ? '1' : '0';
        states += ' ';
        for (int id : kMenuItems) states += app.frame->Action(id)->isEnabled() ? '1' : '0';
        return states;
    }

private Q_SLOTS:
    void initTestCase()
    {
        folder.Write("arm.mqo", CubeObjectFile());
        folder.Write("hand.mqo", CubeObjectFile(2));
        folder.Write("broken.mqo", CubeObjectFile().substr(0, 100));
    }
    void cleanup()
    {
        const QString left = unexpectedDialog;
        unexpectedDialog.clear();
        QCOMPARE(left, QString());
    }

    void buttonsNeedAPartAndAreLockedWhilePlaying()
    {
        RunningApp app(folder.File("states.ini"));
        auto* panel = app.Form().findChild<QWidget*>(IdName(IDD_PARTS_PANEL));
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->pos(), QPoint(3, 3));
        const QString texts[] = {"追加", "削除", "入れ替え", "反転して追加", "対称関係"};
        for (int i = 0; i < 5; ++i) {
            auto* button = Control<QPushButton>(panel, kButtons[i]);
            QCOMPARE(button->text(), texts[i]);
            QCOMPARE(button->accessibleDescription(), IdName(kButtons[i]));
            QVERIFY(panel->rect().contains(button->geometry()));
        }
        QCOMPARE(States(app), QString("10001 10001"));
        QVERIFY(AddObject(app.session, folder.File("arm.mqo")));
        QCOMPARE(States(app), QString("11111 11111"));
        app.session.SetPlaying(true);
        QCOMPARE(States(app), QString("00000 00000"));
        app.session.SetPlaying(false);
        app.session.SelectPart(-1);  // the root entry
        QCOMPARE(States(app), QString("10001 10001"));
    }

    void addSwapAndDeleteGoThroughTheFileDialogAndTheTreeFollows()
    {
        RunningApp app(folder.File("edit.ini"));
        app.scene.addObjectDirectory = folder.File("");
        QString start;
        ChooseFile("オブジェクトを追加", folder.File("arm.mqo"), &start);
        Control<QPushButton>(&app.Form(), IDC_PARTS_ADD)->click();
        QCOMPARE(QDir(start), QDir(QString::fromStdString(folder.File(""))));
        QCOMPARE(TopLevelNames(app), QStringList{"arm"});
        QCOMPARE(app.session.CurrentPart(), 0);

        // An unreadable file says which and why, and adds nothing.
        QString said;
        ChooseFile("オブジェクトを追加", folder.File("broken.mqo"));
        AcceptNextMessage(said);
        app.frame->Action(ID_PARTS_ADD)->trigger();
        QVERIFY2(said.startsWith("Error: ") && said.contains("broken.mqo"), qPrintable(said));
        QCOMPARE(app.scene.PartCount(), 1);
        QCOMPARE(TopLevelNames(app), QStringList{"arm"});

        ChooseFile("オブジェクトを入れ替え", folder.File("hand.mqo"));
        Control<QPushButton>(&app.Form(), IDC_PARTS_SWAP)->click();
        QCOMPARE(TopLevelNames(app), QStringList{"hand"});
        QCOMPARE(app.scene.Parts()[0]->mesh->GetVertex(0)->x * app.scene.Parts()[0]->mesh->GetVertex(0)->x, 4.0f);

        app.frame->Action(ID_PARTS_DELETE)->trigger();
        QCOMPARE(app.scene.PartCount(), 0);
        QCOMPARE(TopLevelNames(app), QStringList{});
    }

    void addMirroredRefusesATakenNameAndStaysOpen()
    {
        RunningApp app(folder.File("mirror.ini"));
        TempFolder objects;
        objects.Write("armL.mqo", CubeObjectFile());
        QVERIFY(AddObject(app.session, objects.File("armL.mqo")));
        app.scene.Parts()[0]->localPosition = {-3, 1, 2};
        QString offered, caution;
        bool stayedOpen = false;
        AnswerNextDialog([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("オブジェクト名入力"));
            auto* name = Control<QLineEdit>(dialog, IDC_MIRRORED_NAME);
            offered = name->text();
            name->setText("armL");
            AcceptNextMessage(caution);
            Control<QPushButton>(dialog, IDOK)->click();
            stayedOpen = dialog->isVisible();
            name->setText("armR");
            Control<QPushButton>(dialog, IDOK)->click();
        });
        Control<QPushButton>(&app.Form(), IDC_PARTS_ADD_MIRRORED)->click();
        QCOMPARE(offered, QString("armL(2)"));
        QCOMPARE(caution, QString("caution: 同じオブジェクト名が存在します"));
        QVERIFY(stayedOpen);
        QCOMPARE(TopLevelNames(app), (QStringList{"armL", "armR"}));
        QVERIFY(QFileInfo::exists(QString::fromStdString(objects.File("armR.mesh"))));
        QCOMPARE(app.scene.Parts()[1]->localPosition.x, 3.0f);
        QCOMPARE(app.scene.Parts()[0]->symmetryIndex, 1);
        QCOMPARE(app.scene.Parts()[1]->symmetryIndex, 0);

        // With two Parts the symmetry table has no scroll bar and 14 hidden rows.
        AnswerNextDialog([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("左右対称の設定"));
            QVERIFY(!Control<QScrollBar>(dialog, IDC_SYMMETRY_SCROLL)->isVisible());
            QCOMPARE(Control<QLabel>(dialog, IDC_SYMMETRY_NAME_FIRST + 1)->text(), QString("armR"));
            // The partner is offered by name.
            QCOMPARE(Control<QComboBox>(dialog, IDC_SYMMETRY_EDITS[0])->currentText(), QString("1: armR"));
            QVERIFY(Control<QComboBox>(dialog, IDC_SYMMETRY_EDITS[1])->isVisible());
            QVERIFY(!Control<QComboBox>(dialog, IDC_SYMMETRY_EDITS[2])->isVisible());
            QCOMPARE(Control<QLabel>(dialog, IDC_SYMMETRY_ID_FIRST + 2)->text(), QString());
            Control<QComboBox>(dialog, IDC_SYMMETRY_EDITS[0])->setCurrentIndex(0);
            Control<QPushButton>(dialog, IDCANCEL)->click();
        });
        app.frame->Action(ID_PARTS_SYMMETRY)->trigger();
        QCOMPARE(app.scene.Parts()[0]->symmetryIndex, 1);  // Cancel keeps the links
    }

    void f2RenamesWithTheMirroredNameChecksAndADropReparentsAndTheTreeFollows()
    {
        RunningApp app(folder.File("tree.ini"));
        QVERIFY(AddObject(app.session, folder.File("arm.mqo")));
        app.session.SelectPart(-1);
        QVERIFY(AddObject(app.session, folder.File("hand.mqo")));
        QCOMPARE(app.frame->Action(ID_PARTS_RENAME)->text(), QString("名前の変更（&N）"));
        QString offered, caution;
        AnswerNextDialog([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("オブジェクト名入力"));
            auto* name = Control<QLineEdit>(dialog, IDC_MIRRORED_NAME);
            offered = name->text();
            name->setText("arm");
            AcceptNextMessage(caution);
            Control<QPushButton>(dialog, IDOK)->click();
            name->setText("palm");
            Control<QPushButton>(dialog, IDOK)->click();
        });
        auto* tree = app.Form().findChild<QTreeWidget*>(IdName(IDC_PARTS_TREE));
        // Shortcuts reach the active window only (there is no window manager).
        app.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.frame.get()));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_F2);
        QCOMPARE(offered, QString("hand"));
        QCOMPARE(caution, QString("caution: 同じオブジェクト名が存在します"));
        QCOMPARE(TopLevelNames(app), (QStringList{"arm", "palm"}));

        // palm dropped onto arm: it hangs under arm, still selected, and Undo puts it back.
        app.Form().findChild<PartsTreePanel*>()->Drop(app.scene.Parts()[1]->treeItem, app.scene.Parts()[0]->treeItem);
        QCOMPARE(TopLevelNames(app), QStringList{"arm"});
        QTreeWidgetItem* arm = tree->topLevelItem(0)->child(0);
        QCOMPARE(arm->childCount(), 1);
        QCOMPARE(arm->child(0)->text(0), QString("palm"));
        QCOMPARE(arm->child(0)->checkState(0), Qt::Checked);
        QCOMPARE(tree->currentItem(), arm->child(0));
        QCOMPARE(app.scene.Parts()[1]->parentIndex, 0);
        app.frame->Action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(TopLevelNames(app), (QStringList{"arm", "palm"}));
        QCOMPARE(app.scene.Parts()[1]->parentIndex, -1);
    }

    void symmetryTableScrollsAndCommitsThePartnersChosenByName()
    {
        RunningApp app(folder.File("symmetry.ini"));
        for (int i = 0; i < 20; ++i) {
            app.session.SelectPart(-1);
            folder.Write("p" + std::to_string(i) + ".mqo", CubeObjectFile());
            QVERIFY(AddObject(app.session, folder.File("p" + std::to_string(i) + ".mqo")));
        }
        AnswerNextDialog([&](QWidget* dialog) {
            auto* bar = Control<QScrollBar>(dialog, IDC_SYMMETRY_SCROLL);
            auto partner = [&](int row) { return Control<QComboBox>(dialog, IDC_SYMMETRY_EDITS[row]); };
            // Chosen as a person chooses: the list's activation commits it.
            auto choose = [&](int row, int part) {
                partner(row)->setCurrentIndex(part + 1);
                Q_EMIT partner(row)->activated(part + 1);
            };
            auto firstShown = [&] { return Control<QLabel>(dialog, IDC_SYMMETRY_ID_FIRST)->text(); };
            QVERIFY(bar->isVisible());
            choose(0, 19);  // Part 0
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            QCOMPARE(firstShown(), QString("3"));
            QCOMPARE(Control<QLabel>(dialog, IDC_SYMMETRY_NAME_FIRST + 15)->text(), QString("p18"));
            choose(15, 19);  // Part 18
            bar->triggerAction(QAbstractSlider::SliderToMaximum);
            QCOMPARE(firstShown(), QString("4"));
            QCOMPARE(bar->value(), 4);
            QCOMPARE(partner(14)->currentText(), QString("19: p19"));  // Part 18
            bar->triggerAction(QAbstractSlider::SliderToMinimum);
            QCOMPARE(firstShown(), QString("0"));
            QCOMPARE(partner(0)->currentText(), QString("19: p19"));
            partner(1)->setCurrentIndex(3);  // read on OK too
            Control<QPushButton>(dialog, IDOK)->click();
        });
        app.frame->Action(ID_PARTS_SYMMETRY)->trigger();
        QCOMPARE(app.scene.Parts()[0]->symmetryIndex, 19);
        QCOMPARE(app.scene.Parts()[1]->symmetryIndex, 2);
        QCOMPARE(app.scene.Parts()[18]->symmetryIndex, 19);
        QCOMPARE(app.scene.Parts()[19]->symmetryIndex, -1);
    }
};

M3D_UI_TEST(PartsPanelTest);
#include "PartsPanelTest.moc"
