#pragma once

#include "settings/SettingsValues.h"

#include <string>

namespace m3d {

// Who holds a value in the running program; a value whose owner may be absent
// is read and written only when it exists.
enum class SettingsOwner { Scene, MotionPanel, TransformPanel, ViewToolbar };

struct SettingKey {
    std::string section;  // "VIEW0" ... "VIEW3" for the per-view keys
    const char* name;
    SettingsOwner owner;
    int view;  // 0..3 for the per-view keys, -1 otherwise
};

// True when the owner of key exists.
bool OwnerPresent(const SettingKey& key, const SettingsOwners& owners);

// Receives each key of the settings file with a reference to its value in a
// SettingsValues. A reader stores into the value, a writer formats it.
class SettingsVisitor {
public:
    virtual ~SettingsVisitor() = default;
    // A folder; its default is the current directory at the moment of reading.
    virtual void Directory(const SettingKey& key, std::string& value) = 0;
    // An integer written with "%d" (colours as signed ARGB, flags as 0 or 1).
    virtual void Int(const SettingKey& key, int& value, int defaultValue) = 0;
    // A float read as text (the default is text too) and written with "%f".
    virtual void Float(const SettingKey& key, float& value, const char* defaultText) = 0;
    // A text written as it is.
    virtual void Text(const SettingKey& key, std::string& value, const char* defaultText) = 0;
};

// Reading takes the four views' TYPE keys before the per-view blocks; writing
// puts each TYPE first in its own view's block. Nothing else differs.
enum class SettingsPass { Read, Write };

// Calls visitor for every key of the settings file, in file order for pass.
// Colours and flags go through Int and are converted back after each call.
void VisitSettingsTable(SettingsValues& values, SettingsPass pass, SettingsVisitor& visitor);

}  // namespace m3d
