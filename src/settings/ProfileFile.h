#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// An INI file read and written the way the Windows profile functions treat it:
// "[section]" lines open sections, "key=value" lines hold values, section and
// key names match ignoring the case of ASCII letters, names and values are
// trimmed of surrounding blanks. The first matching section and, inside it, the
// first matching key win. Writing a key replaces its line in place or appends
// it to the end of its section (a missing section is appended to the file);
// every other line (comments, unknown keys, blank lines) is kept as it was.
//
// Batch use: Load once, call the getters and setters, Save once.
class ProfileFile {
public:
    // Replaces the contents with the file at path. A missing file gives an empty
    // profile and returns true (every getter then answers its default). Returns
    // false with error naming the file when it exists but cannot be read; the
    // profile is then empty.
    bool Load(const std::string& path, std::string& error);
    // Replaces the contents with text (the bytes of a profile file).
    void Parse(std::string_view text);

    // The trimmed value of section/key; defaultValue when the key is missing.
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // The value read as a decimal integer with an optional sign: the leading
    // digits are taken (0 when there are none) and wrap around modulo 2^32, so
    // an unsigned colour such as 4278190335 reads as -16776961. A missing key or
    // an empty value gives defaultValue.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;
    // The value (defaultText when the key is missing) converted like strtod in
    // the C locale, whatever the process locale: leading blanks skipped, the
    // longest valid decimal prefix taken, 0.0 when there is none. Values beyond
    // the float range saturate at the largest finite float, so a settings file
    // never yields an infinity or NaN.
    float GetFloat(std::string_view section, std::string_view key, std::string_view defaultText) const;

    // Sets section/key to value (surrounding blanks are lost on the next read, as
    // with the Windows functions). Line breaks inside value become spaces so a
    // value can never add lines of its own to the file.
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    // Written with "%d".
    void SetInt(std::string_view section, std::string_view key, int value);
    // Written with "%f" in the C locale (six decimals).
    void SetFloat(std::string_view section, std::string_view key, float value);

    // The whole file as it would be saved.
    std::string Text() const;
    // Writes Text() to path through a temporary file renamed over it, so a
    // failed write leaves the previous file untouched. Returns false with error.
    bool Save(const std::string& path, std::string& error) const;

private:
    // Index of the first "[section]" line matching section; npos when none.
    size_t FindSection(std::string_view section) const;
    // Index of the first key line matching key inside the section that starts
    // at sectionLine; npos when none.
    size_t FindKey(size_t sectionLine, std::string_view key) const;
    // Index one past the last line of the section that starts at sectionLine.
    size_t SectionEnd(size_t sectionLine) const;
    // The trimmed value of section/key; false when the key is missing.
    bool FindValue(std::string_view section, std::string_view key, std::string_view& value) const;

    std::vector<std::string> lines;  // without their line breaks
    std::string lineBreak = "\n";    // the file's own line break, kept for new lines
    bool byteOrderMark = false;      // a UTF-8 byte order mark opened the file
};

// Parses text like strtod in the C locale, decimal forms only (no "inf", "nan"
// or hexadecimal); 0.0 when no number starts it, +-HUGE_VAL on overflow.
double ParseDecimalPrefix(std::string_view text);
// Parses an optional sign and the leading decimal digits; 0 when there are none.
int ParseIntegerPrefix(std::string_view text);

}  // namespace m3d
