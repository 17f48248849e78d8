#include "scene/UniqueNames.h"

#include "text/ShiftJis.h"

#include <cstdio>

namespace m3d {

namespace {
// Candidates "%s00000" ... "%s99999" for a taken name.
constexpr int kNameNumbers = 100000;
}  // namespace

std::string UniqueNames::Key(const std::string& name) const
{
    return nameCase == NameCase::IgnoreAscii ? AsciiLower(name) : name;
}

void UniqueNames::Add(const std::string& name) { used.insert(Key(name)); }

std::string UniqueNames::Next(const std::string& wanted)
{
    if (!used.count(Key(wanted))) return wanted;
    int& n = firstUntried[Key(wanted)];
    for (; n < kNameNumbers; ++n) {
        char number[12];  // room for any int, though n stays within 0 ... 99999
        std::snprintf(number, sizeof number, "%05d", n);
        std::string candidate = wanted + number;
        if (!used.count(Key(candidate))) return candidate;
    }
    return std::string();
}

std::string UniqueNames::Take(const std::string& wanted)
{
    std::string name = Next(wanted);
    if (!name.empty()) Add(name);
    return name;
}

}  // namespace m3d
