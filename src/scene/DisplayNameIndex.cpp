#include "scene/DisplayNameIndex.h"

#include <cstdio>

namespace m3d {

namespace {
// Candidates "%s00000" ... "%s99999" for a taken display name.
constexpr int kDisplayNameNumbers = 100000;
}  // namespace

void DisplayNameIndex::Add(const std::string& name) { used.insert(name); }

std::string DisplayNameIndex::Next(const std::string& baseName)
{
    if (!used.count(baseName)) return baseName;
    int& n = firstUntried[baseName];
    for (; n < kDisplayNameNumbers; ++n) {
        char number[12];  // room for any int, though n stays within 0 ... 99999
        std::snprintf(number, sizeof number, "%05d", n);
        std::string candidate = baseName + number;
        if (!used.count(candidate)) return candidate;
    }
    return std::string();
}

std::string DisplayNameIndex::Take(const std::string& baseName)
{
    std::string name = Next(baseName);
    if (!name.empty()) Add(name);
    return name;
}

}  // namespace m3d
