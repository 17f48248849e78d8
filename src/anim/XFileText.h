#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace m3d {

class FileSink;

// Builds the lines of a DirectX text file: every line starts with one space per
// indentation level (at most kMaxIndent) and ends with CR LF; numbers are
// formatted as printf's "%f" and "%d" do in the C locale, whatever the user's
// locale is. Without a sink the text is kept whole (Text, Take); with one it
// is handed over in pieces as it grows, and Finish hands over the rest.
class XFileText {
public:
    // The indentation is for reading only; past this many spaces it stops
    // growing, so that a deep hierarchy gives a file linear in its depth.
    static constexpr int kMaxIndent = 64;

    XFileText() = default;
    explicit XFileText(FileSink& sink) : sink(&sink) {}

    // A whole line at the current level.
    void Line(std::string_view text);
    // A line with nothing on it, not even indentation.
    void EmptyLine() { End(); }
    // "<head> {" at the current level; the contents go one level deeper.
    void Open(std::string_view head);
    // Back one level, then "}".
    void Close();

    // A line built in pieces: Begin, any number of Add calls, End.
    void Begin();
    void Add(std::string_view piece) { text += piece; }
    void AddFloat(float value);  // "%f": six decimals
    void AddInt(int64_t value);  // "%d"
    void End();

    // Room for bytes more characters, so that a large file is not copied as it
    // grows (without a sink only).
    void Reserve(size_t bytes);

    const std::string& Text() const { return text; }
    std::string Take() { return std::move(text); }
    // Hands what is left to the sink; false when the sink has failed.
    bool Finish();

private:
    std::string text;
    int level = 0;
    FileSink* sink = nullptr;
};

}  // namespace m3d
