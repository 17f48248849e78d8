#include "text/ShiftJis.h"

#include <cerrno>
#include <iconv.h>

namespace m3d {

namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view in)
{
    if (in.empty()) return std::string();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

bool IsAscii(std::string_view text)
{
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::optional<std::string> ShiftJisToUtf8(std::string_view sjis)
{
    if (IsAscii(sjis)) return std::string(sjis);
    return Convert("UTF-8", "CP932", sjis);
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8)
{
    if (IsAscii(utf8)) return std::string(utf8);
    return Convert("CP932", "UTF-8", utf8);
}

std::optional<size_t> ShiftJisByteLength(std::string_view utf8)
{
    auto sjis = Utf8ToShiftJis(utf8);
    if (!sjis) return std::nullopt;
    return sjis->size();
}

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace m3d
