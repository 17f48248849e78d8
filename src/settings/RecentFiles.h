#pragma once

#include <string>
#include <vector>

namespace m3d {

class ProfileFile;

// The projects opened or saved last, most recent first: at most kCapacity
// paths, each once. Paths are kept in canonical form (absolute, with "." and
// ".." and symbolic links resolved as far as they exist), so two spellings of
// one file count as one.
class RecentFiles {
public:
    static constexpr size_t kCapacity = 8;

    // Puts path first, taking out an earlier entry of the same file; the
    // oldest entry falls off beyond kCapacity. An empty path is ignored.
    void Add(const std::string& path);
    // Takes out the entry of path's file, if any.
    void Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths; }

    // Replaces the list with section [RECENT], keys FILE0 (most recent) to
    // FILE7; empty values are skipped, repeats and entries beyond kCapacity dropped.
    void Read(const ProfileFile& profile);
    // Writes every key FILE0..FILE7 of [RECENT]; the ones past the list empty.
    void Write(ProfileFile& profile) const;

private:
    std::vector<std::string> paths;
};

// The File menu's text of entry index (0 first): "&1 path", with every '&'
// of the path doubled so that it shows as itself.
std::string RecentFileMenuText(size_t index, const std::string& path);

}  // namespace m3d
