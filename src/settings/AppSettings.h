#pragma once

#include "settings/ProfileFile.h"
#include "settings/SettingsValues.h"

#include <functional>
#include <string>

namespace m3d {

// Answers the process's current directory; read again before each directory
// key, because the file dialogs change it.
using CurrentDirectoryFunction = std::function<std::string()>;

// The process's current directory; "" when it cannot be determined.
std::string ProcessCurrentDirectory();

// Reads every key of the settings table from profile into values, in reading
// order. Keys whose owner is absent leave their value as it was; a missing key
// gives its default (a directory key: currentDirectory() at that moment).
// The recent projects are read last, from their own section.
void ReadSettings(const ProfileFile& profile, SettingsValues& values, const SettingsOwners& owners,
                  const CurrentDirectoryFunction& currentDirectory);

// Writes every key of the settings table from values into profile, in writing
// order, skipping the keys whose owner is absent; then the recent projects.
void WriteSettings(ProfileFile& profile, const SettingsValues& values, const SettingsOwners& owners);

// The settings file of the program: read once at start-up, written once at
// shutdown.
class AppSettings {
public:
    explicit AppSettings(std::string path, CurrentDirectoryFunction currentDirectory = ProcessCurrentDirectory);

    const std::string& Path() const { return path; }

    // Reads the file into values (a missing file gives every default). Returns
    // false with error when the file exists but cannot be read; values then
    // hold the defaults as for a missing file.
    bool Load(SettingsValues& values, const SettingsOwners& owners, std::string& error) const;

    // Updates the keys in the file, keeping its other lines, and writes it
    // atomically; creates the file's folder when missing. Returns false with
    // error when the folder or the file cannot be written, and also when the
    // existing file cannot be read (writing then would lose its other lines).
    bool Save(const SettingsValues& values, const SettingsOwners& owners, std::string& error) const;

    // The interface language the file remembers, as written there ("" for none).
    std::string RememberedLanguage() const;

private:
    std::string path;
    CurrentDirectoryFunction currentDirectory;
};

}  // namespace m3d
