#include "settings/ProfileFile.h"

#include "io/AtomicFile.h"
#include "io/FileReading.h"
#include "text/ShiftJis.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace m3d {

namespace {

// A settings file is a few kilobytes; anything this large is not one of ours.
// Every line is kept as a string of its own, 32 bytes however short, so a file
// of blank lines takes 32 times its size: the cap holds that to 32 MB.
constexpr size_t kMaxProfileBytes = size_t(1) << 20;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && AsciiLower(a) == AsciiLower(b); }

// The name of a "[name]" line; nullopt for any other line.
std::optional<std::string_view> SectionNameOf(std::string_view line)
{
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// The key and value of a "key=value" line; nullopt for comments, blank lines
// and lines without '='.
std::optional<KeyLine> KeyLineOf(std::string_view line)
{
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[') return std::nullopt;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = Trim(t.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return KeyLine{key, Trim(t.substr(eq + 1))};
}

std::string WithoutLineBreaks(std::string_view value)
{
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

double ParseDecimalPrefix(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars would also take "inf" and "nan"; a number must start with a
    // digit or a decimal point followed by one.
    const bool startsNumber =
        i < text.size() && ((text[i] >= '0' && text[i] <= '9') ||
                            (text[i] == '.' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9'));
    if (!startsNumber) return 0.0;
    double value = 0.0;
    const char* first = text.data() + i;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large, or too close to zero: tell them apart by the exponent's sign.
        const std::string_view digits(first, static_cast<size_t>(end - first));
        const size_t e = digits.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

int ParseIntegerPrefix(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

bool ProfileFile::Load(const std::string& path, std::string& error)
{
    Parse({});
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return true;
    std::string text;
    if (!ReadWholeFile(path, text, error, kMaxProfileBytes)) return false;
    Parse(text);
    return true;
}

void ProfileFile::Parse(std::string_view text)
{
    lines.clear();
    lineBreak = "\n";
    byteOrderMark = text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (byteOrderMark) text.remove_prefix(kByteOrderMark.size());
    const size_t firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r') lineBreak = "\r\n";
    lines.reserve(size_t(std::count(text.begin(), text.end(), '\n')) + 1);
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

size_t ProfileFile::FindSection(std::string_view section) const
{
    const std::string_view wanted = Trim(section);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionNameOf(lines[i]);
        if (name && SameName(*name, wanted)) return i;
    }
    return std::string::npos;
}

size_t ProfileFile::SectionEnd(size_t sectionLine) const
{
    size_t i = sectionLine + 1;
    while (i < lines.size() && !SectionNameOf(lines[i])) ++i;
    return i;
}

size_t ProfileFile::FindKey(size_t sectionLine, std::string_view key) const
{
    const std::string_view wanted = Trim(key);
    const size_t end = SectionEnd(sectionLine);
    for (size_t i = sectionLine + 1; i < end; ++i) {
        const auto kv = KeyLineOf(lines[i]);
        if (kv && SameName(kv->key, wanted)) return i;
    }
    return std::string::npos;
}

bool ProfileFile::FindValue(std::string_view section, std::string_view key, std::string_view& value) const
{
    const size_t s = FindSection(section);
    if (s == std::string::npos) return false;
    const size_t k = FindKey(s, key);
    if (k == std::string::npos) return false;
    value = KeyLineOf(lines[k])->value;
    return true;
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    std::string_view value;
    return std::string(FindValue(section, key, value) ? value : defaultValue);
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int defaultValue) const
{
    std::string_view value;
    if (!FindValue(section, key, value) || value.empty()) return defaultValue;
    return ParseIntegerPrefix(value);
}

float ProfileFile::GetFloat(std::string_view section, std::string_view key, std::string_view defaultText) const
{
    std::string_view value;
    if (!FindValue(section, key, value)) value = defaultText;
    const double d = ParseDecimalPrefix(value);
    if (d > FLT_MAX) return FLT_MAX;
    if (d < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(d);
}

void ProfileFile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string cleanValue = WithoutLineBreaks(value);
    size_t s = FindSection(section);
    if (s != std::string::npos) {
        const size_t k = FindKey(s, key);
        if (k != std::string::npos) {
            lines[k] = std::string(KeyLineOf(lines[k])->key) + "=" + cleanValue;
            return;
        }
        // After the section's last key, so comments and blank lines that lead
        // into the next section stay in front of it.
        size_t insertAt = s + 1;
        const size_t end = SectionEnd(s);
        for (size_t i = s + 1; i < end; ++i)
            if (KeyLineOf(lines[i])) insertAt = i + 1;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                      std::string(Trim(key)) + "=" + cleanValue);
        return;
    }
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + std::string(Trim(section)) + "]");
    lines.push_back(std::string(Trim(key)) + "=" + cleanValue);
}

void ProfileFile::SetInt(std::string_view section, std::string_view key, int value)
{
    SetString(section, key, std::to_string(value));
}

void ProfileFile::SetFloat(std::string_view section, std::string_view key, float value)
{
    // "%f" of the promoted double, but independent of the process locale.
    char buffer[512];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 6);
    SetString(section, key,
              ec == std::errc() ? std::string_view(buffer, static_cast<size_t>(end - buffer)) : "0.000000");
}

std::string ProfileFile::Text() const
{
    std::string out;
    if (byteOrderMark) out += kByteOrderMark;
    for (const std::string& line : lines) {
        out += line;
        out += lineBreak;
    }
    return out;
}

bool ProfileFile::Save(const std::string& path, std::string& error) const
{
    return WriteFileAtomically(path, Text(), error);
}

}  // namespace m3d
