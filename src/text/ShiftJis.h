#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace m3d {

// Text inside the program is UTF-8; files written for the Japanese code page
// (project files, .mqo models) hold Shift-JIS (code page 932).

// Decodes Shift-JIS bytes to UTF-8; nullopt when the bytes are not valid code page 932.
std::optional<std::string> ShiftJisToUtf8(std::string_view sjis);
// Encodes UTF-8 as Shift-JIS; nullopt when a character has no code page 932 form.
std::optional<std::string> Utf8ToShiftJis(std::string_view utf8);
// Number of bytes the UTF-8 text takes in Shift-JIS; nullopt when it cannot be encoded.
std::optional<size_t> ShiftJisByteLength(std::string_view utf8);
// Lower-cases the single-byte (ASCII) letters of UTF-8 text and leaves every
// multibyte character alone.
std::string AsciiLower(std::string_view text);

}  // namespace m3d
