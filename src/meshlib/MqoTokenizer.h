#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace m3d {

// Lexing of .mqo text: the file is read line by line (LF or CRLF ends), each
// line field by field. Binary chunks are taken as raw byte runs between lines,
// so their bytes are never seen as text.

// Hands out the lines of a buffer it does not own. Lines never include their end.
class MqoLineReader {
public:
    explicit MqoLineReader(std::string_view bytes) : bytes(bytes) {}

    // Next line without its end; false at the end of the data.
    bool NextLine(std::string_view& line);
    // 1-based number of the line NextLine returned last, counting the line
    // ends inside binary runs too, so it matches what a text editor shows.
    size_t LineNumber() const { return lineNumber; }
    // Takes exactly count bytes that follow the current line; false, taking
    // nothing, when fewer remain.
    bool TakeBytes(size_t count, std::string_view& out);
    size_t RemainingBytes() const { return bytes.size() - pos; }

private:
    std::string_view bytes;
    size_t pos = 0;
    size_t lineNumber = 0;
};

// Reads the fields of one line. Spaces, tabs and parentheses separate fields;
// strings are in double quotes (no escapes: a Shift-JIS trail byte is never a
// quote). Every reader skips leading blanks and, on failure, leaves the cursor
// where it was.
class MqoLineCursor {
public:
    explicit MqoLineCursor(std::string_view line) : text(line) {}

    // True when only blanks remain.
    bool AtEnd();
    // A run of bytes up to a blank, parenthesis, quote or the end; "" when none.
    std::string_view Word();
    // Consumes c when it is the next non-blank byte.
    bool Consume(char c);
    // The contents of a quoted string; false when the next field is not one or
    // its closing quote is missing.
    bool Quoted(std::string_view& out);
    // A decimal number that ends at a separator. Floats must be finite (no nan,
    // inf or overflow); integers must fit the type.
    bool Float(float& out);
    bool Uint(uint32_t& out);
    bool Int(int32_t& out);
    // After an opening parenthesis: skips to just past the matching ')',
    // stepping over quoted strings; false when it is missing.
    bool SkipArguments();

private:
    void SkipBlanks();
    bool EndsField(size_t at) const;
    // Reads a decimal integer with an optional '+' as one whole field.
    template <typename Integer>
    bool ReadInteger(Integer& out);

    std::string_view text;
    size_t pos = 0;
};

// Helpers on whole lines, blanks trimmed.
// True when the last field is '{' (the line opens a chunk).
bool MqoLineOpensChunk(std::string_view line);
// True when the first field is '}' (the line closes a chunk).
bool MqoLineClosesChunk(std::string_view line);
// When the line ends with "[size]" (a binary chunk follows), stores size and
// returns true. A size too large for size_t also returns true with size set to
// SIZE_MAX, so the caller's read fails instead of skipping text.
bool MqoLineBinarySize(std::string_view line, size_t& size);
// ASCII case-insensitive equality, for chunk and key names.
bool MqoNameEquals(std::string_view a, std::string_view b);

}  // namespace m3d
