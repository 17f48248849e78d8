#include "io/FolderIndex.h"

#include "text/ShiftJis.h"
#include "text/StoredName.h"

#include <filesystem>
#include <system_error>

namespace m3d {

namespace fs = std::filesystem;

FolderIndex::FolderIndex(const std::string& folder) : directory(folder.empty() ? std::string(".") : folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        foldedNames.try_emplace(AsciiLower(StorableFileName(name)), name);
        exactNames.insert(std::move(name));
    }
}

std::optional<std::string> FolderIndex::FindFile(std::string_view fileName) const
{
    const std::string wanted(fileName);
    const std::string* entry = nullptr;
    if (auto exact = exactNames.find(wanted); exact != exactNames.end()) {
        entry = &*exact;
    } else if (auto folded = foldedNames.find(AsciiLower(StorableFileName(wanted))); folded != foldedNames.end()) {
        entry = &folded->second;
    }
    if (!entry) return std::nullopt;
    const fs::path path = fs::path(directory) / *entry;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    return path.string();
}

}  // namespace m3d
