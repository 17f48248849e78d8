#include "text/StoredName.h"

#include "text/ShiftJis.h"
#include "text/UiText.h"

#include <algorithm>

namespace m3d {

namespace {

// Bytes of the UTF-8 sequence starting with lead (1 for a stray byte, so a
// walk over broken text still advances).
size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Calls visit with every character of text, as one UTF-8 sequence each.
template <typename Visit>
void ForEachCharacter(std::string_view text, Visit visit)
{
    for (size_t at = 0; at < text.size();) {
        const size_t length = std::min(SequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
        visit(text.substr(at, length));
        at += length;
    }
}

// The yen sign reads back as '\', which would split a file name: the
// full-width yen keeps both its look and its meaning.
constexpr const char* kFullWidthYen = "￥";

std::string Replacement(std::string_view stored) { return stored == "\\" ? kFullWidthYen : std::string(stored); }

}  // namespace

std::optional<std::string> ShiftJisStoredForm(std::string_view utf8)
{
    const std::optional<std::string> sjis = Utf8ToShiftJis(utf8);
    if (!sjis) return std::nullopt;
    return ShiftJisToUtf8(*sjis);
}

std::optional<FoldedCharacter> FirstFoldedCharacter(std::string_view utf8)
{
    std::optional<FoldedCharacter> found;
    ForEachCharacter(utf8, [&](std::string_view character) {
        if (found) return;
        const std::optional<std::string> stored = ShiftJisStoredForm(character);
        if (stored && *stored != character)
            found = FoldedCharacter{std::string(character), *stored, Replacement(*stored)};
    });
    return found;
}

std::string FoldedCharacterMessage(const FoldedCharacter& character)
{
    return WithArguments(UiText("core",
                                "「%1」はプロジェクトファイルに保存すると「%2」に変わってしまいます。"
                                "代わりに「%3」を入力してください。"),
                         {character.typed, character.stored, character.instead});
}

std::string StorableFileName(std::string_view utf8)
{
    // Most names need no change: one conversion each way tells, where the
    // character by character walk below would convert every character.
    const bool plain = std::none_of(utf8.begin(), utf8.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F || b == '\\';
    });
    if (plain && ShiftJisStoredForm(utf8) == utf8) return std::string(utf8);
    std::string name;
    name.reserve(utf8.size());
    ForEachCharacter(utf8, [&](std::string_view character) {
        const unsigned char first = static_cast<unsigned char>(character[0]);
        if (character == "\\") {
            name += kFullWidthYen;
        } else if (first < 0x20 || first == 0x7F) {
            name += '_';
        } else {
            const std::optional<std::string> stored = ShiftJisStoredForm(character);
            name += stored && *stored != character ? Replacement(*stored) : std::string(character);
        }
    });
    return name;
}

std::string StorableForeignName(std::string_view utf8, size_t maxBytes, bool dotsAllowed, std::string_view fallback)
{
    std::string name;
    size_t bytes = 0;
    bool full = false;
    ForEachCharacter(StorableFileName(utf8), [&](std::string_view character) {
        if (full) return;
        std::optional<size_t> length = ShiftJisByteLength(character);
        std::string_view kept = character;
        if (!length || character == "/" || (!dotsAllowed && character == ".")) {
            kept = "_";
            length = 1;
        }
        if (bytes + *length > maxBytes) {
            full = true;
            return;
        }
        bytes += *length;
        name += kept;
    });
    return name.empty() ? std::string(fallback) : name;
}

}  // namespace m3d
