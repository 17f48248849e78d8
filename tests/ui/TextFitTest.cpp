#include "app/CommandIds.h"
#include "app/DialogFont.h"
#include "app/ElidingComboBox.h"
#include "app/ImportOptionsDialog.h"
#include "app/InterfaceTranslation.h"
#include "app/MeshOverwriteDialog.h"
#include "app/RecoveryDialog.h"
#include "text/UiText.h"
#include "support/TakesGltf.h"
#include "ui/DialogAnswers.h"
#include "ui/ExportTestFiles.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QtTest>

using namespace m3d;

namespace {

// The text a button or group shows, without its access key's marker.
QString Shown(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// The style option a widget paints itself with (initStyleOption is protected
// in Qt 6.4; a pointer to it taken through a derived class may be called).
template <class Widget, class Option>
Option StyleOptionOf(const Widget* widget)
{
    struct Access : Widget {
        static void Init(const Widget* w, Option* o) { (w->*(&Access::initStyleOption))(o); }
    };
    Option option;
    Access::Init(widget, &option);
    return option;
}

// Why text, drawn in widget's font, does not fit room; "" when it fits.
QString Misfit(const QWidget* widget, const QString& text, const QRect& room)
{
    if (text.isEmpty()) return QString();
    const QFontMetrics metrics = widget->fontMetrics();
    int width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    const int height = metrics.height() * int(lines.size());
    if (width <= room.width() && height <= room.height()) return QString();
    return QString("%1 \"%2\": %3 x %4 px in %5 x %6")
        .arg(widget->objectName().isEmpty() ? QString(widget->metaObject()->className()) : widget->objectName(), text)
        .arg(width)
        .arg(height)
        .arg(room.width())
        .arg(room.height());
}

// The room a word-wrapped label's text needs at the label's width, against its height.
QString WrappedMisfit(const QLabel* label)
{
    const QRect room = label->contentsRect();
    const QRect needed =
        label->fontMetrics().boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text());
    if (needed.width() <= room.width() && needed.height() <= room.height()) return QString();
    return QString("%1 \"%2\": needs %3 x %4 px, has %5 x %6")
        .arg(label->objectName(), label->text())
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

// Every text of the visible controls under top that is wider or taller than
// the room its control gives it, as the style lays the control out.
QStringList Overflows(QWidget* top)
{
    QStringList found;
    auto note = [&](const QString& misfit) {
        if (!misfit.isEmpty()) found << top->objectName() + " › " + misfit;
    };
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(top)) continue;
        QStyle* style = widget->style();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const int margin = label->margin();
            const QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
            note(label->wordWrap() ? WrappedMisfit(label) : Misfit(label, label->text(), room));
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const auto option = StyleOptionOf<QPushButton, QStyleOptionButton>(button);
            note(Misfit(button, Shown(button->text()),
                        style->subElementRect(QStyle::SE_PushButtonContents, &option, button)));
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            const auto option = StyleOptionOf<QCheckBox, QStyleOptionButton>(check);
            note(Misfit(check, Shown(check->text()),
                        style->subElementRect(QStyle::SE_CheckBoxContents, &option, check)));
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            const auto option = StyleOptionOf<QRadioButton, QStyleOptionButton>(radio);
            note(Misfit(radio, Shown(radio->text()),
                        style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio)));
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            const auto option = StyleOptionOf<QGroupBox, QStyleOptionGroupBox>(group);
            const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            note(Misfit(group, Shown(group->title()), label.intersected(group->rect())));
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            // A file's path is the user's own text and scrolls in its field.
            if (field->objectName() == IdName(IDC_MOVIE_PATH)) continue;
            const auto option = StyleOptionOf<QLineEdit, QStyleOptionFrame>(field);
            // The field keeps 2 px free on either side of its text and 1 px for the cursor.
            const QMargins margins = field->textMargins();
            const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &option, field)
                                   .marginsRemoved(margins)
                                   .adjusted(2, 0, -3, 0);
            note(Misfit(field, field->text(), room));
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            const auto option = StyleOptionOf<QComboBox, QStyleOptionComboBox>(list);
            const QRect room = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
                                   .adjusted(1, 0, -1, 0);
            if (auto* eliding = qobject_cast<ElidingComboBox*>(list)) {
                note(Misfit(list, eliding->DisplayedText(), room));
            } else {
                for (int i = 0; i < list->count(); ++i) note(Misfit(list, list->itemText(i), room));
            }
        }
    }
    return found;
}

}  // namespace

// Every panel and dialog of the program, with the sample figure loaded, in
// both interface languages: no text may be wider or taller than the room its
// control has for it.
class TextFitTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTextFitsItsControl_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("ja") << "ja";
        QTest::newRow("en") << "en";
    }

    void everyTextFitsItsControl()
    {
        QFETCH(QString, language);
        InterfaceTranslation translation(language.toStdString());
        TempFolder folder;
        RunningApp app(folder.File("fit.ini"), M3D_SAMPLE_FIGURE, 1000, 800, language.toStdString());
        QVERIFY(app.scene.PartCount() > 10);
        QCOMPARE(QFontInfo(app.Form().font()).family(), QString(kDialogFontFamily));
        CAppForm& form = app.Form();
        app.session.SetCurvePanelShown(true);  // the curve panel's strip too
        QStringList overflows = Overflows(&form);

        // The twelve fields of every Part of the figure.
        for (int part = 0; part < app.scene.PartCount(); ++part) {
            app.session.SelectPart(part);
            for (QLineEdit* field : form.findChildren<QLineEdit*>())
                if (field->parentWidget()->objectName() == IdName(IDD_TRANSFORM_PANEL))
                    overflows << Overflows(field->parentWidget()).filter(field->objectName() + " \"");
        }
        overflows.removeDuplicates();

        // Each of the program's own dialogs, opened as the user opens it.
        auto inspect = [&](QDialog* dialog) {
            overflows << Overflows(dialog);
            dialog->done(0);
        };
        app.session.SelectPart(1);
        for (int command : {ID_GRID_WIDTH, ID_MOVE_SNAP, ID_MODEL_SCALE, ID_PARTS_SYMMETRY, ID_PARTS_ADD_MIRRORED,
                            ID_COLOR_CHANGE, ID_APP_ABOUT, ID_EXPORT_XFILE, ID_EXPORT_GLTF, ID_PARTS_MOVE_PIVOT,
                            ID_PARTS_RESIZE, ID_FILE_RENDER_MOVIE}) {
            AnswerNextDialog(inspect);
            app.frame->Action(command)->trigger();
        }
        // The questions asked after a model file with animations is read.
        const std::string lamp = WriteTakesGltf(folder);
        AnswerNextDialog<QFileDialog>([lamp](QFileDialog* files) { AcceptTypedFileName(files, lamp); });
        AnswerNextDialog<ImportOptionsDialog>(inspect);
        app.frame->Action(ID_FILE_IMPORT_MODEL)->trigger();
        for (int button : {IDC_MOTION_NEW, IDC_MOTION_CHANGE_LENGTH}) {
            AnswerNextDialog(inspect);
            form.findChild<QPushButton*>(IdName(button))->click();
        }
        const std::string figure = M3D_SAMPLE_FIGURE;
        const std::string mesh = figure.substr(0, figure.rfind('/')) + "/upper_arm_r.mesh";
        {
            MeshOverwriteDialog question(WithArguments(UiText("core", "%1は存在しています。上書きしますか？"), {mesh}),
                                         &form);
            question.show();
            overflows << Overflows(&question);
        }
        {
            // The recovery dialog with a snapshot of the figure.
            RecoverableSnapshot snapshot;
            snapshot.id = "00000000000000aa-1";
            snapshot.info = {"1-1-00000000", "00000000000000aa", figure, "figure.anm", 1765380000, 14, 2};
            AnswerNextDialog(inspect);
            QVERIFY(!AskRecovery({snapshot}, &form));
        }
        AnswerNextMessageBox(QMessageBox::No);  // the question whether to save before closing
        app.Close();
        QVERIFY2(overflows.isEmpty(), qPrintable(overflows.join('\n')));
        QCOMPARE(unexpectedDialog, QString());
    }

    void accessKeysAreDistinctInEveryMenu_data() { everyTextFitsItsControl_data(); }

    void accessKeysAreDistinctInEveryMenu()
    {
        QFETCH(QString, language);
        InterfaceTranslation translation(language.toStdString());
        TempFolder folder;
        RunningApp app(folder.File("keys.ini"), std::nullopt, 1000, 800, language.toStdString());
        QList<QMenu*> menus;
        for (QAction* action : app.frame->menuBar()->actions()) menus << action->menu();
        for (int i = 0; i < menus.size(); ++i) {
            QMap<QChar, QString> taken;
            for (QAction* action : menus[i]->actions()) {
                if (action->menu()) menus << action->menu();
                const QString text = action->text();
                const qsizetype marker = text.indexOf(QLatin1Char('&'));
                if (marker < 0 || marker + 1 >= text.size()) continue;
                const QChar key = text[marker + 1].toUpper();
                QVERIFY2(!taken.contains(key),
                         qPrintable(QString("%1: \"%2\" and \"%3\"").arg(menus[i]->title(), taken[key], text)));
                taken[key] = text;
            }
        }
    }
};

M3D_UI_TEST(TextFitTest);
#include "TextFitTest.moc"
