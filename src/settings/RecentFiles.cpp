#include "settings/RecentFiles.h"

#include "settings/ProfileFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace m3d {

namespace {

constexpr const char* kSection = "RECENT";

std::string Canonical(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::filesystem::path(path).lexically_normal().string() : canonical.string();
}

std::string KeyName(size_t index) { return "FILE" + std::to_string(index); }

}  // namespace

void RecentFiles::Add(const std::string& path)
{
    if (path.empty()) return;
    const std::string canonical = Canonical(path);
    Remove(canonical);
    paths.insert(paths.begin(), canonical);
    if (paths.size() > kCapacity) paths.resize(kCapacity);
}

void RecentFiles::Remove(const std::string& path)
{
    const std::string canonical = Canonical(path);
    std::erase(paths, canonical);
}

void RecentFiles::Read(const ProfileFile& profile)
{
    paths.clear();
    // Oldest first, so that each Add leaves the most recent in front.
    for (size_t i = kCapacity; i-- > 0;) Add(profile.GetString(kSection, KeyName(i), ""));
}

void RecentFiles::Write(ProfileFile& profile) const
{
    for (size_t i = 0; i < kCapacity; ++i) profile.SetString(kSection, KeyName(i), i < paths.size() ? paths[i] : "");
}

std::string RecentFileMenuText(size_t index, const std::string& path)
{
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : path) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

}  // namespace m3d
