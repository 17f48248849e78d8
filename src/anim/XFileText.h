#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Builds the lines of a DirectX text file: every line starts with one space per
// indentation level and ends with CR LF; numbers are formatted as printf's "%f"
// and "%d" do in the C locale, whatever the user's locale is.
class XFileText {
public:
    // A whole line at the current level.
    void Line(std::string_view text);
    // A line with nothing on it, not even indentation.
    void EmptyLine() { text += "\r\n"; }
    // "<head> {" at the current level; the contents go one level deeper.
    void Open(std::string_view head);
    // Back one level, then "}".
    void Close();

    // A line built in pieces: Begin, any number of Add calls, End.
    void Begin();
    void Add(std::string_view piece) { text += piece; }
    void AddFloat(float value);  // "%f": six decimals
    void AddInt(int64_t value);  // "%d"
    void End() { text += "\r\n"; }

    // Room for bytes more characters, so that a large file is not copied as it grows.
    void Reserve(size_t bytes) { text.reserve(text.size() + bytes); }

    const std::string& Text() const { return text; }
    std::string Take() { return std::move(text); }

private:
    std::string text;
    int level = 0;
};
