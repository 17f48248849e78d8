#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace m3d {

// Names of Parts and Motions are kept in Shift-JIS in the project file, and
// code page 932 maps several characters onto one code (¥ and \, 〜 and ～,
// − and －...). A name that does not come back from the file as it went in
// could turn into a path separator or into another Part's or Motion's name,
// so names are checked (typed ones) or mapped (ones taken from file names)
// to their stored form before anything else compares them.

// The text as it reads back after being stored in Shift-JIS; nullopt when a
// character has no Shift-JIS form.
std::optional<std::string> ShiftJisStoredForm(std::string_view utf8);

// The first character of a name that would not read back as typed.
struct FoldedCharacter {
    std::string typed;    // the character as typed (one UTF-8 sequence)
    std::string stored;   // what the project file gives back for it
    std::string instead;  // the character to type instead: reads back as itself
};
// nullopt when every character reads back as typed or has no Shift-JIS form
// at all (refused for that reason elsewhere).
std::optional<FoldedCharacter> FirstFoldedCharacter(std::string_view utf8);

// The refusal of a name holding character: it says what the character turns
// into and what to type instead (translatable, "core").
std::string FoldedCharacterMessage(const FoldedCharacter& character);

// A name taken from a file name made storable: every character that would
// change in the project file becomes its replacement (FoldedCharacter::instead),
// and a folder separator or control character (which a file name on this
// system may hold) becomes a full-width or plain stand-in, so the result reads
// back as itself and names a plain file. Characters without a Shift-JIS form
// are kept: saving such a name is refused with its own message.
std::string StorableFileName(std::string_view utf8);

// A name taken from another program's file (a node or an animation) made
// fit to be a name here: StorableFileName, with every character that has no
// Shift-JIS form, every '/' and, unless dotsAllowed, every '.' made '_',
// cut at a character boundary to at most maxBytes of Shift-JIS; fallback
// when nothing is left.
std::string StorableForeignName(std::string_view utf8, size_t maxBytes, bool dotsAllowed, std::string_view fallback);

}  // namespace m3d
