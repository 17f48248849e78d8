#include "settings/SettingsTable.h"

#include "settings/InterfaceLanguage.h"
#include "settings/ProfileFile.h"

namespace m3d {

namespace {

constexpr const char* kColourKeys[8] = {"BACK", "GRID", "LINE", "COLL", "NORMAL", "PIVOT", "SELECT", "ANIM"};
// Top, Pers, Front, Left.
constexpr int kDefaultViewTypes[4] = {0, 8, 4, 6};

SettingKey Key(const char* section, const char* name, SettingsOwner owner = SettingsOwner::Scene)
{
    return {section, name, owner, -1};
}

SettingKey ViewKey(int view, const char* name, SettingsOwner owner = SettingsOwner::Scene)
{
    return {"VIEW" + std::to_string(view), name, owner, view};
}

void VisitColour(SettingsVisitor& visitor, const SettingKey& key, uint32_t& colour, uint32_t defaultColour)
{
    int value = static_cast<int>(colour);
    visitor.Int(key, value, static_cast<int>(defaultColour));
    colour = static_cast<uint32_t>(value);
}

void VisitFlag(SettingsVisitor& visitor, const SettingKey& key, bool& flag, bool defaultFlag)
{
    int value = flag ? 1 : 0;
    visitor.Int(key, value, defaultFlag ? 1 : 0);
    flag = value != 0;
}

void VisitVector(SettingsVisitor& visitor, const SettingKey& xKey, const char* yName, const char* zName, Vec3& v,
                 const char* xDefault, const char* yDefault, const char* zDefault)
{
    visitor.Float(xKey, v.x, xDefault);
    SettingKey key = xKey;
    key.name = yName;
    visitor.Float(key, v.y, yDefault);
    key.name = zName;
    visitor.Float(key, v.z, zDefault);
}

void VisitViewType(SettingsVisitor& visitor, SettingsValues& values, int view)
{
    visitor.Int(ViewKey(view, "TYPE"), values.views[view].type, kDefaultViewTypes[view]);
}

// Every key of one view block except TYPE.
void VisitViewBlock(SettingsVisitor& visitor, SettingsValues& values, int view)
{
    ViewSettingsValues& v = values.views[view];
    visitor.Int(ViewKey(view, "DRAWMODE", SettingsOwner::ViewToolbar), v.drawMode, view == 1 ? 1 : 0);
    VisitFlag(visitor, ViewKey(view, "DRAWSELECT", SettingsOwner::ViewToolbar), v.drawSelect, true);
    VisitVector(visitor, ViewKey(view, "TO_X"), "TO_Y", "TO_Z", v.target, "0.0", "0.0", "0.0");
    VisitVector(visitor, ViewKey(view, "PERS_FROM_X"), "PERS_FROM_Y", "PERS_FROM_Z", v.persEye, "600.0", "600.0",
                "-600.0");
    VisitVector(visitor, ViewKey(view, "PERS_TO_X"), "PERS_TO_Y", "PERS_TO_Z", v.persTarget, "0.0", "0.0", "0.0");
}

// Fills every value with its default, owners or not.
class DefaultsVisitor : public SettingsVisitor {
public:
    explicit DefaultsVisitor(const std::string& directory) : directory(directory) {}
    void Directory(const SettingKey&, std::string& value) override { value = directory; }
    void Int(const SettingKey&, int& value, int defaultValue) override { value = defaultValue; }
    void Float(const SettingKey&, float& value, const char* defaultText) override
    {
        value = static_cast<float>(ParseDecimalPrefix(defaultText));
    }
    void Text(const SettingKey&, std::string& value, const char* defaultText) override { value = defaultText; }

private:
    const std::string& directory;
};

}  // namespace

bool OwnerPresent(const SettingKey& key, const SettingsOwners& owners)
{
    switch (key.owner) {
    case SettingsOwner::Scene: return true;
    case SettingsOwner::MotionPanel: return owners.motionPanel;
    case SettingsOwner::TransformPanel: return owners.transformPanel;
    case SettingsOwner::ViewToolbar: return key.view >= 0 && key.view < 4 && owners.viewToolbars[key.view];
    }
    return false;
}

void VisitSettingsTable(SettingsValues& values, SettingsPass pass, SettingsVisitor& visitor)
{
    visitor.Directory(Key("DIRECTORY", "ADD_OBJECT"), values.addObjectDirectory);
    visitor.Directory(Key("DIRECTORY", "EXPORT_XFILE"), values.exportXFileDirectory);
    visitor.Directory(Key("DIRECTORY", "EXPORT_GLTF"), values.exportGltfDirectory);
    for (int i = 0; i < 8; ++i)
        VisitColour(visitor, Key("COLOR", kColourKeys[i]), values.colours[i], kDefaultColours[i]);
    visitor.Int(Key("ANIMATION", "FRAMERATE", SettingsOwner::MotionPanel), values.frameRate, 30);
    visitor.Int(Key("ANIMATION", "TIMESCALEFACTOR"), values.timeScaleFactor, 200);
    visitor.Int(Key("VIEW", "GRID"), values.gridWidth, 50);
    VisitFlag(visitor, Key("GRID", "XY", SettingsOwner::TransformPanel), values.gridXY, false);
    VisitFlag(visitor, Key("GRID", "YZ", SettingsOwner::TransformPanel), values.gridYZ, false);
    VisitFlag(visitor, Key("GRID", "ZX", SettingsOwner::TransformPanel), values.gridZX, true);
    VisitVector(visitor, Key("LIGHT", "XDIR"), "YDIR", "ZDIR", values.lightDirection, "-1.0", "-1.0", "2.0");
    visitor.Float(Key("CENTER", "XPOS"), values.splitX, "0.5");
    visitor.Float(Key("CENTER", "YPOS"), values.splitY, "0.5");
    visitor.Float(Key("VIEW", "SCALE"), values.orthographicScale, "5.0");
    if (pass == SettingsPass::Read)
        for (int view = 0; view < 4; ++view) VisitViewType(visitor, values, view);
    for (int view = 0; view < 4; ++view) {
        if (pass == SettingsPass::Write) VisitViewType(visitor, values, view);
        VisitViewBlock(visitor, values, view);
    }
    visitor.Text(Key("INTERFACE", "LANGUAGE"), values.interfaceLanguage, kDefaultInterfaceLanguage);
    visitor.Int(Key("TEXTURE", "MEMORY_MB"), values.textureMemoryMegabytes, 512);
    // The motion panel's designed size is 263 x 132 dialog units; its width
    // follows the window (0) until the user drags it narrower.
    visitor.Int(Key("TIMELINE", "PANEL_WIDTH", SettingsOwner::MotionPanel), values.motionPanelWidth, 0);
    visitor.Int(Key("TIMELINE", "PANEL_HEIGHT", SettingsOwner::MotionPanel), values.motionPanelHeight, 198);
    visitor.Int(Key("TIMELINE", "FRAME_PIXELS", SettingsOwner::MotionPanel), values.timelineFramePixels, 5);
    VisitFlag(visitor, Key("TIMELINE", "REALTIME", SettingsOwner::MotionPanel), values.realTimePlayback, false);
    visitor.Text(Key("TIMELINE", "INTERPOLATION", SettingsOwner::MotionPanel), values.newKeyInterpolation, "linear");
    VisitFlag(visitor, Key("TIMELINE", "CURVES", SettingsOwner::MotionPanel), values.curvePanelShown, false);
    VisitFlag(visitor, Key("POSING", "LOCAL_AXES"), values.localAxes, true);
    visitor.Int(Key("POSING", "ROTATE_SNAP"), values.rotateSnapDegrees, 15);
    visitor.Float(Key("POSING", "MOVE_SNAP"), values.moveSnap, "0");
    VisitFlag(visitor, Key("POSING", "IK"), values.ik, false);
    visitor.Int(Key("POSING", "IK_CHAIN"), values.ikChainLength, 2);
    visitor.Float(Key("RECOVERY", "INTERVAL_MINUTES"), values.recoveryIntervalMinutes, "2");
}

SettingsValues DefaultSettingsValues(const std::string& currentDirectory)
{
    SettingsValues values;
    DefaultsVisitor visitor(currentDirectory);
    VisitSettingsTable(values, SettingsPass::Read, visitor);
    return values;
}

}  // namespace m3d
