#include "settings/AppSettings.h"

#include "settings/SettingsTable.h"

#include <filesystem>
#include <system_error>

namespace m3d {

namespace {

class ReadVisitor : public SettingsVisitor {
public:
    ReadVisitor(const ProfileFile& profile, const SettingsOwners& owners, const CurrentDirectoryFunction& cwd)
        : profile_(profile), owners_(owners), currentDirectory_(cwd)
    {
    }
    void Directory(const SettingKey& key, std::string& value) override
    {
        if (!OwnerPresent(key, owners_)) return;
        value = profile_.GetString(key.section, key.name, currentDirectory_ ? currentDirectory_() : std::string());
    }
    void Int(const SettingKey& key, int& value, int defaultValue) override
    {
        if (OwnerPresent(key, owners_)) value = profile_.GetInt(key.section, key.name, defaultValue);
    }
    void Float(const SettingKey& key, float& value, const char* defaultText) override
    {
        if (OwnerPresent(key, owners_)) value = profile_.GetFloat(key.section, key.name, defaultText);
    }
    void Text(const SettingKey& key, std::string& value, const char* defaultText) override
    {
        if (OwnerPresent(key, owners_)) value = profile_.GetString(key.section, key.name, defaultText);
    }

private:
    const ProfileFile& profile_;
    const SettingsOwners& owners_;
    const CurrentDirectoryFunction& currentDirectory_;
};

class WriteVisitor : public SettingsVisitor {
public:
    WriteVisitor(ProfileFile& profile, const SettingsOwners& owners) : profile_(profile), owners_(owners) {}
    void Directory(const SettingKey& key, std::string& value) override
    {
        if (OwnerPresent(key, owners_)) profile_.SetString(key.section, key.name, value);
    }
    void Int(const SettingKey& key, int& value, int) override
    {
        if (OwnerPresent(key, owners_)) profile_.SetInt(key.section, key.name, value);
    }
    void Float(const SettingKey& key, float& value, const char*) override
    {
        if (OwnerPresent(key, owners_)) profile_.SetFloat(key.section, key.name, value);
    }
    void Text(const SettingKey& key, std::string& value, const char*) override
    {
        if (OwnerPresent(key, owners_)) profile_.SetString(key.section, key.name, value);
    }

private:
    ProfileFile& profile_;
    const SettingsOwners& owners_;
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
    : path_(std::move(path)), currentDirectory_(std::move(currentDirectory))
{
}

Outcome AppSettings::Load(SettingsValues& values, const SettingsOwners& owners) const
{
    ProfileFile profile;
    Outcome loaded = profile.Load(path_);
    ReadSettings(profile, values, owners, currentDirectory_);
    return loaded;
}

Outcome AppSettings::Save(const SettingsValues& values, const SettingsOwners& owners) const
{
    ProfileFile profile;
    if (Outcome loaded = profile.Load(path_); !loaded) return loaded;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) return Outcome::Failure(folder.string() + ": cannot create the folder: " + ec.message(), ec.value());
    }
    WriteSettings(profile, values, owners);
    return profile.Save(path_);
}

std::string AppSettings::RememberedLanguage() const
{
    SettingsValues values;
    // A file that cannot be read remembers no language: values keep the default.
    static_cast<void>(Load(values, SettingsOwners()));
    return values.interfaceLanguage;
}

}  // namespace m3d
