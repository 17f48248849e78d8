#include "foreign/readers/GltfImport.h"

#include <algorithm>

namespace m3d {

void Note(GltfImport& import, const std::string& line)
{
    std::vector<std::string>& dropped = import.out.dropped;
    if (std::find(dropped.begin(), dropped.end(), line) == dropped.end()) dropped.push_back(line);
}

std::string Label(const char* kind, size_t index, const std::string& name)
{
    if (name.empty()) return std::string(kind) + " " + std::to_string(index);
    return std::string(kind) + " '" + Shown(name) + "'";
}

}  // namespace m3d
