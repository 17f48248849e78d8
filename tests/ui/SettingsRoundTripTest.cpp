#include "settings/ProfileFile.h"
#include "settings/SettingsTable.h"
#include "ui/RunningApp.h"

#include <filesystem>
#include <sys/stat.h>
#include "ui/UiTestRegistry.h"

#include <QtTest>

using namespace m3d;

namespace {

// Every section/key pair of the settings table.
struct KeyCollector : SettingsVisitor {
    std::vector<std::pair<std::string, std::string>> keys;
    void Directory(const SettingKey& key, std::string&) override { keys.emplace_back(key.section, key.name); }
    void Int(const SettingKey& key, int&, int) override { keys.emplace_back(key.section, key.name); }
    void Float(const SettingKey& key, float&, const char*) override { keys.emplace_back(key.section, key.name); }
    void Text(const SettingKey& key, std::string&, const char*) override { keys.emplace_back(key.section, key.name); }
};

ProfileFile LoadProfile(const std::string& path)
{
    ProfileFile profile;
    std::string error;
    if (!profile.Load(path, error)) qWarning("%s", error.c_str());
    return profile;
}

}  // namespace

class SettingsRoundTripTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstRunCreatesTheFileWithEveryKeyAndAnEditedSplitIsUsedNextTime()
    {
        TempFolder folder;
        // A folder that does not exist yet, as on a first run.
        const std::string path = folder.File("config/Marionettica3D/Marionet3D.ini");
        {
            RunningApp app(path);
            // Defaults: Top, Pers, Front, Left, split at the centre.
            const ViewState& views = app.Form().Views();
            QCOMPARE(views.views[0].type, int(ViewType::Top));
            QCOMPARE(views.views[1].type, int(ViewType::Pers));
            QCOMPARE(views.views[2].type, int(ViewType::Front));
            QCOMPARE(views.views[3].type, int(ViewType::Left));
            QCOMPARE(views.views[0].rect.right, 451);
            QVERIFY(!QFileInfo::exists(QString::fromStdString(path)));
            app.Close();
        }
        QVERIFY(QFileInfo::exists(QString::fromStdString(path)));
        ProfileFile profile = LoadProfile(path);
        SettingsValues values = DefaultSettingsValues("");
        KeyCollector collector;
        VisitSettingsTable(values, SettingsPass::Write, collector);
        QVERIFY(collector.keys.size() > 50);
        for (const auto& [section, key] : collector.keys)
            QVERIFY2(profile.GetString(section, key, "<missing>") != "<missing>",
                     qPrintable(QString::fromStdString(section + "/" + key)));
        QCOMPARE(profile.GetString("COLOR", "BACK", ""), std::string("-15198184"));
        QCOMPARE(profile.GetString("COLOR", "LINE", ""), std::string("-65536"));
        QCOMPARE(profile.GetString("VIEW", "GRID", ""), std::string("50"));
        QCOMPARE(profile.GetString("VIEW1", "TYPE", ""), std::string("8"));
        QCOMPARE(profile.GetString("VIEW1", "DRAWMODE", ""), std::string("1"));
        QCOMPARE(profile.GetString("CENTER", "XPOS", ""), std::string("0.500000"));

        // The user edits the split and a colour by hand.
        profile.SetString("CENTER", "XPOS", "0.25");
        profile.SetString("COLOR", "BACK", "-16776961");
        std::string error;
        QVERIFY(profile.Save(path, error));
        {
            RunningApp app(path);
            const ViewState& views = app.Form().Views();
            QCOMPARE(views.splitX, 0.25f);
            // a = 906 x 0.25 = 226: view 0 ends 2 pixels before it, view 1 starts 1 after.
            QCOMPARE(views.views[0].rect.right, 224);
            QCOMPARE(views.views[1].rect.left, 227);
            const QImage image = app.Grab();
            QCOMPARE(image.pixel(10, 10), qRgb(0, 0, 255));    // BACK from the file
            QCOMPARE(image.pixel(225, 100), qRgb(255, 0, 0));  // LINE in the moved gap
            // A value changed while running is what the next start gets.
            app.Form().Colours()[ColourIndex::Grid] = 0xFF0000FF;
            app.Close();
        }
        profile = LoadProfile(path);
        QCOMPARE(profile.GetString("CENTER", "XPOS", ""), std::string("0.250000"));
        QCOMPARE(profile.GetString("COLOR", "GRID", ""), std::string("-16776961"));
        QCOMPARE(profile.GetString("COLOR", "BACK", ""), std::string("-16776961"));
    }

    // Reading it would wait for a writer that never comes: the window opens on the defaults.
    void aSettingsFileThatIsAFifoIsNotWaitedOn()
    {
        TempFolder folder;
        const std::string path = folder.File("Marionet3D.ini");
        QCOMPARE(mkfifo(path.c_str(), 0644), 0);
        RunningApp app(path);
        QCOMPARE(app.Form().Views().views[1].type, int(ViewType::Pers));
        app.Close();
        QVERIFY(std::filesystem::is_fifo(path));
    }
};

M3D_UI_TEST(SettingsRoundTripTest);
#include "SettingsRoundTripTest.moc"
