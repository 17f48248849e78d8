#include "anim/XFileNames.h"

#include "text/ShiftJis.h"

#include <unordered_set>

namespace m3d {

static bool IsIdentifierByte(unsigned char c)
{
    return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           c == '-';
}

std::string SanitizeXFileName(std::string_view utf8)
{
    std::string out(utf8);
    for (char& c : out)
        if (!IsIdentifierByte(static_cast<unsigned char>(c))) c = '_';
    return out;
}

std::vector<std::string> UniqueXFileNames(const std::vector<std::string>& utf8Names)
{
    std::vector<std::string> out;
    out.reserve(utf8Names.size());
    std::unordered_set<std::string> taken;
    for (const std::string& name : utf8Names) {
        const std::string base = SanitizeXFileName(name);
        std::string candidate = base;
        for (int n = 2; taken.count(candidate) != 0; ++n) candidate = base + "_" + std::to_string(n);
        taken.insert(candidate);
        out.push_back(std::move(candidate));
    }
    return out;
}

std::string XFileTextureName(std::string_view utf8FileName)
{
    std::string out = AsciiLower(utf8FileName);
    for (char& c : out) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == '"' || c == '\\') c = '_';
    }
    return out;
}

}  // namespace m3d
