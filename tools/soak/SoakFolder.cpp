#include "SoakFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace m3d::soak {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFileFolders[] = {"figure", "saves", "exports", "bad"};
constexpr const char* kOwnFolders[] = {"home", "settings", "work", "runtime", "tmp"};

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

SoakFolder::SoakFolder(std::string rootFolder) : root(fs::absolute(rootFolder).lexically_normal().string())
{
    while (root.size() > 1 && root.back() == '/') root.pop_back();
}

bool SoakFolder::Prepare(const std::string& figureFolder, std::string& error) const
{
    std::error_code ec;
    for (const char* name : kFileFolders) fs::create_directories(root + "/" + name, ec);
    for (const char* name : kOwnFolders) fs::create_directories(root + "/" + name, ec);
    fs::permissions(root + "/runtime", fs::perms::owner_all, ec);
    for (const fs::directory_entry& entry : fs::directory_iterator(figureFolder, ec)) {
        if (!entry.is_regular_file()) continue;
        fs::copy_file(entry.path(), root + "/figure/" + entry.path().filename().string(),
                      fs::copy_options::overwrite_existing, ec);
        if (ec) break;
    }
    if (ec || !fs::exists(StartProject())) {
        error = "cannot copy the sample figure from " + figureFolder + ": " + ec.message();
        return false;
    }
    // A project cut off in the middle of its records, an empty mesh, a model
    // that is only words and a folder named like a project.
    std::ifstream whole(StartProject(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    std::ofstream(root + "/bad/cut-short.anm", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    std::ofstream(root + "/bad/empty.mesh", std::ios::binary);
    std::ofstream(root + "/bad/words.mqo", std::ios::binary) << "not a model at all\n";
    fs::create_directories(root + "/bad/folder.anm", ec);
    return true;
}

void SoakFolder::UseAsEnvironment() const
{
    setenv("HOME", (root + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/home/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/home/.local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root + "/home/.cache").c_str(), 1);
    setenv("XDG_STATE_HOME", (root + "/home/.local/state").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
    setenv("TMPDIR", (root + "/tmp").c_str(), 1);
    if (chdir((root + "/work").c_str()) != 0) std::abort();
}

std::string SoakFolder::Absolute(const std::string& relative) const
{
    const fs::path path(relative);
    if (relative.empty() || path.is_absolute()) return std::string();
    for (const fs::path& part : path)
        if (part == "..") return std::string();
    return root + "/" + path.lexically_normal().string();
}

std::string SoakFolder::Relative(const std::string& path) const
{
    const std::string normal = fs::path(path).lexically_normal().string();
    if (normal.size() <= root.size() + 1 || normal.compare(0, root.size() + 1, root + "/") != 0) return std::string();
    return normal.substr(root.size() + 1);
}

std::vector<std::string> SoakFolder::Files(const std::vector<std::string>& suffixes) const
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const char* folder : kFileFolders) {
        for (auto it = fs::recursive_directory_iterator(root + "/" + folder, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            const std::string name = it->path().filename().string();
            // Atomic saves leave their temporaries only while they write.
            if (name.find(".tmp") != std::string::npos) continue;
            const bool wanted =
                suffixes.empty() ||
                std::any_of(suffixes.begin(), suffixes.end(), [&](const std::string& s) { return EndsWith(name, s); });
            if (wanted) out.push_back(Relative(it->path().string()));
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace m3d::soak
