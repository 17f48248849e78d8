#include "settings/AppSettings.h"
#include "settings/SettingsTable.h"

#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// The file a first start writes at exit, built from the table of keys.
std::string DefaultFileText(const std::string& directory)
{
    std::string text = "[DIRECTORY]\nADD_OBJECT=" + directory + "\nEXPORT_XFILE=" + directory +
                       "\nEXPORT_GLTF=" + directory +
                       "\n"
                       "\n[COLOR]\nBACK=-15198184\nGRID=-8355712\nLINE=-65536\nCOLL=-256\nNORMAL=-16711808\n"
                       "PIVOT=-65281\nSELECT=-4144960\nANIM=-14663456\n"
                       "\n[ANIMATION]\nFRAMERATE=30\nTIMESCALEFACTOR=200\n"
                       "\n[VIEW]\nGRID=50\nSCALE=5.000000\n"
                       "\n[GRID]\nXY=0\nYZ=0\nZX=1\n"
                       "\n[LIGHT]\nXDIR=-1.000000\nYDIR=-1.000000\nZDIR=2.000000\n"
                       "\n[CENTER]\nXPOS=0.500000\nYPOS=0.500000\n";
    const char* types[4] = {"0", "8", "4", "6"};
    for (int v = 0; v < 4; ++v) {
        text += "\n[VIEW" + std::to_string(v) + "]\nTYPE=" + types[v] + "\nDRAWMODE=" + (v == 1 ? "1" : "0") +
                "\nDRAWSELECT=1\n"
                "TO_X=0.000000\nTO_Y=0.000000\nTO_Z=0.000000\n"
                "PERS_FROM_X=600.000000\nPERS_FROM_Y=600.000000\nPERS_FROM_Z=-600.000000\n"
                "PERS_TO_X=0.000000\nPERS_TO_Y=0.000000\nPERS_TO_Z=0.000000\n";
    }
    text += "\n[INTERFACE]\nLANGUAGE=ja\n\n[TEXTURE]\nMEMORY_MB=512\n";
    text +=
        "\n[TIMELINE]\nPANEL_WIDTH=0\nPANEL_HEIGHT=198\nFRAME_PIXELS=5\nREALTIME=0\nINTERPOLATION=linear\nCURVES=0\n";
    text += "\n[POSING]\nLOCAL_AXES=1\nROTATE_SNAP=15\nMOVE_SNAP=0.000000\nIK=0\nIK_CHAIN=2\n";
    text += "\n[RECOVERY]\nINTERVAL_MINUTES=2.000000\n";
    text += "\n[RECENT]\n";
    for (int i = 0; i < 8; ++i) text += "FILE" + std::to_string(i) + "=\n";
    return text;
}

class KeyOrderVisitor : public SettingsVisitor {
public:
    void Directory(const SettingKey& key, std::string&) override { Note(key); }
    void Int(const SettingKey& key, int&, int) override { Note(key); }
    void Float(const SettingKey& key, float&, const char*) override { Note(key); }
    void Text(const SettingKey& key, std::string&, const char*) override { Note(key); }
    std::vector<std::string> keys;

private:
    void Note(const SettingKey& key) { keys.push_back(key.section + "." + key.name); }
};

std::vector<std::string> KeyOrder(SettingsPass pass)
{
    SettingsValues values;
    KeyOrderVisitor visitor;
    VisitSettingsTable(values, pass, visitor);
    return visitor.keys;
}

}  // namespace

TEST(AppSettings, FirstStartGivesDefaultsAndWritesEveryKeyInOrder)
{
    TempFolder folder;
    const AppSettings settings(folder.File("config/Marionettica3D/Marionet3D.ini"), [] { return "/home/u/work"; });
    SettingsValues values;
    ASSERT_TRUE(Succeeded(settings.Load(values, SettingsOwners())));
    EXPECT_EQ(values.addObjectDirectory, "/home/u/work");
    EXPECT_EQ(values.colours[0], 0xFF181818u);
    EXPECT_EQ(values.colours[7], 0xFF2040E0u);
    EXPECT_EQ(values.frameRate, 30);
    EXPECT_EQ(values.splitX, 0.5f);
    EXPECT_EQ(values.splitY, 0.5f);
    EXPECT_FALSE(values.gridXY);
    EXPECT_TRUE(values.gridZX);
    EXPECT_EQ(values.lightDirection, (Vec3{-1.0f, -1.0f, 2.0f}));
    const int expectedTypes[4] = {0, 8, 4, 6};
    for (int v = 0; v < 4; ++v) {
        EXPECT_EQ(values.views[v].type, expectedTypes[v]) << "view " << v;
        EXPECT_EQ(values.views[v].drawMode, v == 1 ? 1 : 0) << "view " << v;
        EXPECT_TRUE(values.views[v].drawSelect);
        EXPECT_EQ(values.views[v].persEye, (Vec3{600.0f, 600.0f, -600.0f}));
    }

    // Saving creates the folder and the file with every key.
    ASSERT_TRUE(Succeeded(settings.Save(values, SettingsOwners())));
    EXPECT_EQ(folder.Read("config/Marionettica3D/Marionet3D.ini"), DefaultFileText("/home/u/work"));
}

TEST(AppSettings, DefaultsAreTheValuesOfAnEmptyFile)
{
    SettingsValues fromEmpty;
    ReadSettings(ProfileFile(), fromEmpty, SettingsOwners(), [] { return "/d"; });
    const SettingsValues defaults = DefaultSettingsValues("/d");
    ProfileFile a, b;
    WriteSettings(a, fromEmpty, SettingsOwners());
    WriteSettings(b, defaults, SettingsOwners());
    EXPECT_EQ(a.Text(), b.Text());
    EXPECT_EQ(a.Text(), DefaultFileText("/d"));
}

TEST(AppSettings, ValuesRoundTripThroughTheFile)
{
    SettingsValues values = DefaultSettingsValues("/d");
    values.colours[2] = 0xFF0000FF;
    values.splitX = 0.25f;
    values.views[3].type = 2;
    values.views[3].persTarget = {1.5f, -2.25f, 3.0f};
    values.gridXY = true;
    values.exportXFileDirectory = "/home/u/出力";
    values.motionPanelWidth = 700;
    values.motionPanelHeight = 243;
    values.timelineFramePixels = 12;
    values.realTimePlayback = true;
    values.localAxes = false;
    values.rotateSnapDegrees = 5;
    ProfileFile profile;
    WriteSettings(profile, values, SettingsOwners());
    EXPECT_EQ(profile.GetString("COLOR", "LINE", ""), "-16776961");

    SettingsValues back;
    ReadSettings(profile, back, SettingsOwners(), [] { return "/elsewhere"; });
    EXPECT_EQ(back.colours[2], 0xFF0000FFu);
    EXPECT_EQ(back.splitX, 0.25f);
    EXPECT_EQ(back.views[3].type, 2);
    EXPECT_EQ(back.views[3].persTarget, (Vec3{1.5f, -2.25f, 3.0f}));
    EXPECT_TRUE(back.gridXY);
    EXPECT_EQ(back.exportXFileDirectory, "/home/u/出力");
    EXPECT_EQ(back.motionPanelWidth, 700);
    EXPECT_EQ(back.motionPanelHeight, 243);
    EXPECT_EQ(back.timelineFramePixels, 12);
    EXPECT_TRUE(back.realTimePlayback);
    EXPECT_FALSE(back.localAxes);
    EXPECT_EQ(back.rotateSnapDegrees, 5);
    EXPECT_EQ(back.addObjectDirectory, "/d");
}

TEST(AppSettings, MissingOwnersKeepTheirValuesAndAreNotWritten)
{
    SettingsOwners owners;
    owners.motionPanel = false;
    owners.transformPanel = false;
    owners.viewToolbars[2] = false;
    ProfileFile profile;
    profile.Parse("[ANIMATION]\nFRAMERATE=12\n[GRID]\nXY=1\n[VIEW2]\nDRAWMODE=1\nDRAWSELECT=0\n[VIEW1]\nDRAWMODE=0\n");
    SettingsValues values;
    values.frameRate = 60;
    values.views[2].drawSelect = true;
    ReadSettings(profile, values, owners, [] { return "/d"; });
    EXPECT_EQ(values.frameRate, 60);
    EXPECT_FALSE(values.gridXY);
    EXPECT_EQ(values.views[2].drawMode, 0);
    EXPECT_TRUE(values.views[2].drawSelect);
    EXPECT_EQ(values.views[1].drawMode, 0);  // its toolbar exists: read from the file

    ProfileFile written;
    WriteSettings(written, values, owners);
    EXPECT_EQ(written.GetString("ANIMATION", "FRAMERATE", "absent"), "absent");
    EXPECT_EQ(written.GetString("GRID", "ZX", "absent"), "absent");
    EXPECT_EQ(written.GetString("VIEW2", "DRAWSELECT", "absent"), "absent");
    EXPECT_EQ(written.GetString("VIEW2", "TYPE", "absent"), "4");
    EXPECT_EQ(written.GetString("VIEW3", "DRAWSELECT", "absent"), "1");
}

TEST(AppSettings, DirectoryDefaultIsFetchedBeforeEachRead)
{
    int calls = 0;
    SettingsValues values;
    ProfileFile profile;
    profile.Parse("[DIRECTORY]\nEXPORT_XFILE= /saved/x \n");
    ReadSettings(profile, values, SettingsOwners(), [&] { return "/cwd" + std::to_string(++calls); });
    EXPECT_EQ(values.addObjectDirectory, "/cwd1");
    EXPECT_EQ(values.exportXFileDirectory, "/saved/x");
    EXPECT_EQ(values.exportGltfDirectory, "/cwd3");
    EXPECT_EQ(calls, 3);
}

TEST(AppSettings, ViewTypesAreReadAheadButWrittenInsideEachView)
{
    const std::vector<std::string> read = KeyOrder(SettingsPass::Read);
    const std::vector<std::string> write = KeyOrder(SettingsPass::Write);
    ASSERT_EQ(read.size(), 85u);
    ASSERT_EQ(write.size(), read.size());
    EXPECT_EQ(read.front(), "DIRECTORY.ADD_OBJECT");
    EXPECT_EQ(read[2], "DIRECTORY.EXPORT_GLTF");
    EXPECT_EQ(read[22], "VIEW.SCALE");
    for (int v = 0; v < 4; ++v) EXPECT_EQ(read[23 + v], "VIEW" + std::to_string(v) + ".TYPE");
    EXPECT_EQ(read[27], "VIEW0.DRAWMODE");
    for (int v = 0; v < 4; ++v) {
        EXPECT_EQ(write[23 + 12 * v], "VIEW" + std::to_string(v) + ".TYPE");
        EXPECT_EQ(write[24 + 12 * v], "VIEW" + std::to_string(v) + ".DRAWMODE");
    }
    EXPECT_EQ(write[write.size() - 15], "VIEW3.PERS_TO_Z");
    EXPECT_EQ(write[write.size() - 14], "INTERFACE.LANGUAGE");
    EXPECT_EQ(write[write.size() - 13], "TEXTURE.MEMORY_MB");
    EXPECT_EQ(write[write.size() - 7], "TIMELINE.CURVES");
    EXPECT_EQ(write[write.size() - 2], "POSING.IK_CHAIN");
    EXPECT_EQ(write.back(), "RECOVERY.INTERVAL_MINUTES");
    // Apart from the TYPE keys both passes list the same keys in the same order.
    auto withoutTypes = [](std::vector<std::string> keys) {
        std::erase_if(keys, [](const std::string& k) { return k.ends_with(".TYPE"); });
        return keys;
    };
    EXPECT_EQ(withoutTypes(read), withoutTypes(write));
}

TEST(AppSettings, SavingUpdatesAnExistingFileInPlace)
{
    TempFolder folder;
    const std::string path = folder.File("Marionet3D.ini");
    folder.Write("Marionet3D.ini", "; hand-edited\n[center]\nxpos = 0.25\nMINE=1\n[Extra]\nz=9\n");
    const AppSettings settings(path, [] { return "/d"; });
    SettingsValues values;
    ASSERT_TRUE(Succeeded(settings.Load(values, SettingsOwners())));
    EXPECT_EQ(values.splitX, 0.25f);
    EXPECT_EQ(values.splitY, 0.5f);
    ASSERT_TRUE(Succeeded(settings.Save(values, SettingsOwners())));
    const std::string text = folder.Read("Marionet3D.ini");
    EXPECT_EQ(
        text.rfind("; hand-edited\n[center]\nxpos=0.250000\nMINE=1\nYPOS=0.500000\n[Extra]\nz=9\n\n[DIRECTORY]\n", 0),
        0u)
        << text;
}

TEST(AppSettings, UnreadableFileGivesDefaultsAndIsNotOverwritten)
{
    TempFolder folder;
    // A folder standing where the file should be cannot be read.
    std::filesystem::create_directory(folder.File("Marionet3D.ini"));
    const AppSettings settings(folder.File("Marionet3D.ini"), [] { return "/d"; });
    SettingsValues values;
    Outcome outcome;
    EXPECT_FALSE((outcome = settings.Load(values, SettingsOwners())));
    EXPECT_EQ(values.views[1].type, 8);
    EXPECT_FALSE((outcome = settings.Save(values, SettingsOwners())));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("Marionet3D.ini")));
}
