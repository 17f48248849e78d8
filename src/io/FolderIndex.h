#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace m3d {

// The entries of one folder, listed once, for many look-ups of plain file
// names that may differ from the disk in letter case (a project naming
// thousands of object files). Each look-up is then O(1) instead of a listing
// of the folder. The listing is a snapshot: entries made later are not seen.
class FolderIndex {
public:
    // Lists directory ("" is the current folder); a folder that cannot be
    // read gives an empty index.
    explicit FolderIndex(const std::string& directory);

    // The path of the regular file named fileName (no separators) in the
    // folder: the entry of exactly that name when there is one, else the
    // first entry listed whose name matches ignoring the case of ASCII
    // letters (as FindFileIgnoringCase matches one component) and the
    // characters a project file stores as one (StorableFileName: head〜.mesh
    // for head～.mesh, hand¥l.mesh for hand￥l.mesh). nullopt when none
    // matches or the match is not a regular file.
    std::optional<std::string> FindFile(std::string_view fileName) const;

private:
    std::string directory;
    std::unordered_set<std::string> exactNames;
    // Stored, lower-cased name -> the first entry of that name in listing order.
    std::unordered_map<std::string, std::string> foldedNames;
};

}  // namespace m3d
