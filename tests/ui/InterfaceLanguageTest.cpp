#include "app/InterfaceTranslation.h"
#include "editor/ProgramArguments.h"
#include "settings/AppSettings.h"
#include "settings/InterfaceLanguage.h"
#include "settings/ProfileFile.h"
#include "ui/RunningApp.h"
#include "ui/UiTestRegistry.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace m3d;

namespace {

// True for a character of the Hiragana, Katakana (also half-width), CJK or
// full-width ranges.
bool IsJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF);
}

bool HasJapanese(const QString& text) { return std::any_of(text.begin(), text.end(), IsJapanese); }

// The text of every menu and menu item under menu, recursively.
void MenuTexts(const QMenu* menu, QStringList& texts)
{
    texts << menu->title();
    for (const QAction* action : menu->actions()) {
        if (action->menu())
            MenuTexts(action->menu(), texts);
        else if (!action->isSeparator())
            texts << action->text();
    }
}

// Every text of the menu bar and of the panels' captions, buttons, labels and
// named controls, and the window title.
QStringList WindowTexts(CAppFrameWnd& frame)
{
    QStringList texts{frame.windowTitle()};
    for (const QAction* action : frame.menuBar()->actions()) MenuTexts(action->menu(), texts);
    for (const QWidget* widget : frame.findChildren<QWidget*>()) {
        texts << widget->accessibleName() << widget->toolTip();
        if (auto* button = qobject_cast<const QAbstractButton*>(widget)) texts << button->text();
        if (auto* label = qobject_cast<const QLabel*>(widget)) texts << label->text();
        if (auto* group = qobject_cast<const QGroupBox*>(widget)) texts << group->title();
    }
    return texts;
}

// The program started with arguments, as main() starts it: the language
// chosen there or remembered in the settings file, its catalogues installed.
struct StartedProgram {
    ProgramArguments arguments;
    std::string language = StartLanguage(arguments.language, AppSettings(*arguments.settingsPath).RememberedLanguage());
    InterfaceTranslation translation{language};
    RunningApp app{*arguments.settingsPath, std::nullopt, 1000, 800, language};

    explicit StartedProgram(const std::vector<std::string>& line) : arguments(ParseProgramArguments(line)) {}
    QString FirstPartsItem() { return app.frame->menuBar()->actions()[1]->menu()->actions()[0]->text(); }
};

}  // namespace

class InterfaceLanguageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void englishIsChosenOnTheCommandLineRememberedAndSwitchedBack()
    {
        TempFolder folder;
        const std::string settings = folder.File("Marionet3D.ini");
        {
            StartedProgram english({"--settings", settings, "--lang", "en"});
            const QStringList texts = WindowTexts(*english.app.frame);
            QVERIFY(texts.size() > 100);
            for (const QString& text : texts) QVERIFY2(!HasJapanese(text), qPrintable(text));
            QCOMPARE(english.FirstPartsItem(), QString("&Add..."));
            // The core's texts are translated before their values are placed.
            english.app.session.UpdateTitle();
            const QString title = english.app.frame->windowTitle();
            QVERIFY2(title.endsWith("   Untitled face:0 mesh:0   Grid width:50"), qPrintable(title));
            english.app.Close();
        }
        {
            StartedProgram remembered({"--settings", settings});
            QCOMPARE(remembered.language, std::string("en"));
            QCOMPARE(remembered.FirstPartsItem(), QString("&Add..."));
            remembered.app.Close();
        }
        {
            StartedProgram japanese({"--settings=" + settings, "--lang=ja"});
            QCOMPARE(japanese.FirstPartsItem(), QString("追加（&A）"));
            // The platform's buttons follow the interface.
            QVERIFY(HasJapanese(QCoreApplication::translate("QPlatformTheme", "&Yes")));
            japanese.app.Close();
        }
        ProfileFile profile;
        QVERIFY(profile.Load(settings));
        QCOMPARE(profile.GetString("INTERFACE", "LANGUAGE", ""), std::string("ja"));
    }
};

M3D_UI_TEST(InterfaceLanguageTest);
#include "InterfaceLanguageTest.moc"
