#include "meshlib/TextureName.h"

#include "io/PathLookup.h"
#include "text/ShiftJis.h"

#include <vector>

namespace m3d {

namespace {

// Byte length of the UTF-8 character starting at text[at]; 0 when it is not
// well formed (bad lead byte, missing continuation, overlong or surrogate).
size_t Utf8CharLength(std::string_view text, size_t at)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length;
    unsigned int code;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[at + k]);
        if ((c & 0xC0) != 0x80) return 0;
        code = (code << 6) | (c & 0x3F);
    }
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code < 0xE000))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
        return 0;
    return length;
}

// The name split into characters; empty when it is not valid UTF-8.
std::vector<std::string_view> Characters(std::string_view text)
{
    std::vector<std::string_view> characters;
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8CharLength(text, at);
        if (length == 0) return {};
        characters.push_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

size_t CharacterBytes(std::string_view character)
{
    if (character.size() == 1) return 1;
    return ShiftJisByteLength(character).value_or(character.size());
}

}  // namespace

size_t TextureNameBytes(std::string_view utf8Name)
{
    if (auto sjis = ShiftJisByteLength(utf8Name)) return *sjis;
    size_t bytes = 0;
    for (std::string_view c : Characters(utf8Name)) bytes += CharacterBytes(c);
    return bytes;
}

bool IsValidTextureName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..") return false;
    if (Characters(name).empty()) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' || c == 0x7F) return false;
    return TextureNameBytes(name) <= kTextureNameLimit;
}

std::string TextureNameForPath(std::string_view path)
{
    const std::string name = WindowsFileNameOf(path);
    if (Characters(name).empty()) return {};
    if (TextureNameBytes(name) <= kTextureNameLimit) return IsValidTextureName(name) ? name : std::string();

    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || TextureNameBytes(name.substr(dot)) >= kTextureNameLimit)
        dot = name.size();
    const std::string_view extension = std::string_view(name).substr(dot);
    size_t budget = kTextureNameLimit - TextureNameBytes(extension);
    std::string shortened;
    for (std::string_view c : Characters(std::string_view(name).substr(0, dot))) {
        const size_t bytes = CharacterBytes(c);
        if (bytes > budget) break;
        budget -= bytes;
        shortened += c;
    }
    shortened += extension;
    return IsValidTextureName(shortened) ? shortened : std::string();
}

}  // namespace m3d
