#include "settings/AppSettings.h"

#include "settings/SettingsTable.h"

#include <filesystem>
#include <system_error>

namespace m3d {

namespace {

class ReadVisitor : public SettingsVisitor {
public:
    ReadVisitor(const ProfileFile& profile, const SettingsOwners& owners, const CurrentDirectoryFunction& cwd)
        : profile(profile), owners(owners), currentDirectory(cwd)
    {
    }
    void Directory(const SettingKey& key, std::string& value) override
    {
        if (!OwnerPresent(key, owners)) return;
        value = profile.GetString(key.section, key.name, currentDirectory ? currentDirectory() : std::string());
    }
    void Int(const SettingKey& key, int& value, int defaultValue) override
    {
        if (OwnerPresent(key, owners)) value = profile.GetInt(key.section, key.name, defaultValue);
    }
    void Float(const SettingKey& key, float& value, const char* defaultText) override
    {
        if (OwnerPresent(key, owners)) value = profile.GetFloat(key.section, key.name, defaultText);
    }
    void Text(const SettingKey& key, std::string& value, const char* defaultText) override
    {
        if (OwnerPresent(key, owners)) value = profile.GetString(key.section, key.name, defaultText);
    }

private:
    const ProfileFile& profile;
    const SettingsOwners& owners;
    const CurrentDirectoryFunction& currentDirectory;
};

class WriteVisitor : public SettingsVisitor {
public:
    WriteVisitor(ProfileFile& profile, const SettingsOwners& owners) : profile(profile), owners(owners) {}
    void Directory(const SettingKey& key, std::string& value) override
    {
        if (OwnerPresent(key, owners)) profile.SetString(key.section, key.name, value);
    }
    void Int(const SettingKey& key, int& value, int) override
    {
        if (OwnerPresent(key, owners)) profile.SetInt(key.section, key.name, value);
    }
    void Float(const SettingKey& key, float& value, const char*) override
    {
        if (OwnerPresent(key, owners)) profile.SetFloat(key.section, key.name, value);
    }
    void Text(const SettingKey& key, std::string& value, const char*) override
    {
        if (OwnerPresent(key, owners)) profile.SetString(key.section, key.name, value);
    }

private:
    ProfileFile& profile;
    const SettingsOwners& owners;
};

}  // namespace

std::string ProcessCurrentDirectory()
{
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::string() : cwd.string();
}

void ReadSettings(const ProfileFile& profile, SettingsValues& values, const SettingsOwners& owners,
                  const CurrentDirectoryFunction& currentDirectory)
{
    ReadVisitor visitor(profile, owners, currentDirectory);
    VisitSettingsTable(values, SettingsPass::Read, visitor);
    values.recentProjects.Read(profile);
}

void WriteSettings(ProfileFile& profile, const SettingsValues& values, const SettingsOwners& owners)
{
    // The table hands out references for both passes; writing only reads them.
    SettingsValues copy = values;
    WriteVisitor visitor(profile, owners);
    VisitSettingsTable(copy, SettingsPass::Write, visitor);
    values.recentProjects.Write(profile);
}

AppSettings::AppSettings(std::string path, CurrentDirectoryFunction currentDirectory)
    : path(std::move(path)), currentDirectory(std::move(currentDirectory))
{
}

bool AppSettings::Load(SettingsValues& values, const SettingsOwners& owners, std::string& error) const
{
    ProfileFile profile;
    const bool ok = profile.Load(path, error);
    ReadSettings(profile, values, owners, currentDirectory);
    return ok;
}

bool AppSettings::Save(const SettingsValues& values, const SettingsOwners& owners, std::string& error) const
{
    ProfileFile profile;
    if (!profile.Load(path, error)) return false;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            error = folder.string() + ": cannot create the folder: " + ec.message();
            return false;
        }
    }
    WriteSettings(profile, values, owners);
    return profile.Save(path, error);
}

std::string AppSettings::RememberedLanguage() const
{
    SettingsValues values;
    std::string error;
    Load(values, SettingsOwners(), error);
    return values.interfaceLanguage;
}

}  // namespace m3d
