#include "meshlib/MqoTokenizer.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace m3d {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

bool IsSeparator(char c) { return IsBlank(c) || c == '(' || c == ')'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Plain decimals such as "-12.3456" are nearly every number in a model file.
// When the digits form an integer m < 2^24 and there are k <= 10 of them after
// the point, m and 10^k are exact floats and m / 10^k is a single correctly
// rounded division: bit for bit what from_chars gives, several times faster.
// Returns the end of the number, or nullptr when the text needs from_chars.
const char* ParsePlainDecimal(const char* p, const char* end, float& out)
{
    static constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    uint32_t mantissa = 0;
    int digits = 0;
    int fraction = 0;
    bool point = false;
    for (; p < end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            if (++digits > 9) return nullptr;
            mantissa = mantissa * 10 + static_cast<uint32_t>(c - '0');
            fraction += point;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0 || (p < end && (*p == 'e' || *p == 'E'))) return nullptr;
    while (fraction > 0 && mantissa % 10 == 0) {
        mantissa /= 10;
        --fraction;
    }
    if (mantissa >= (1u << 24) || fraction > 10) return nullptr;
    const float value = static_cast<float>(mantissa) / kPowersOfTen[fraction];
    out = negative ? -value : value;
    return p;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool MqoLineReader::NextLine(std::string_view& line)
{
    if (pos >= bytes.size()) return false;
    const char* begin = bytes.data() + pos;
    const size_t left = bytes.size() - pos;
    const void* lf = std::memchr(begin, '\n', left);
    size_t length = lf ? static_cast<size_t>(static_cast<const char*>(lf) - begin) : left;
    pos += lf ? length + 1 : length;
    if (length > 0 && begin[length - 1] == '\r') --length;
    line = std::string_view(begin, length);
    ++lineNumber;
    return true;
}

bool MqoLineReader::TakeBytes(size_t count, std::string_view& out)
{
    if (count > RemainingBytes()) return false;
    out = bytes.substr(pos, count);
    pos += count;
    for (const char *p = out.data(), *end = out.data() + out.size();;) {
        const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
        if (!lf) break;
        ++lineNumber;
        p = static_cast<const char*>(lf) + 1;
    }
    return true;
}

void MqoLineCursor::SkipBlanks()
{
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

bool MqoLineCursor::EndsField(size_t at) const { return at >= text.size() || IsSeparator(text[at]); }

bool MqoLineCursor::AtEnd()
{
    SkipBlanks();
    return pos >= text.size();
}

std::string_view MqoLineCursor::Word()
{
    SkipBlanks();
    const size_t start = pos;
    while (pos < text.size() && !IsSeparator(text[pos]) && text[pos] != '"') ++pos;
    return text.substr(start, pos - start);
}

bool MqoLineCursor::Consume(char c)
{
    SkipBlanks();
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

bool MqoLineCursor::Quoted(std::string_view& out)
{
    SkipBlanks();
    if (pos >= text.size() || text[pos] != '"') return false;
    const size_t close = text.find('"', pos + 1);
    if (close == std::string_view::npos) return false;
    out = text.substr(pos + 1, close - pos - 1);
    pos = close + 1;
    return true;
}

bool MqoLineCursor::Float(float& out)
{
    SkipBlanks();
    size_t at = pos;
    // from_chars takes no leading '+', which some writers emit.
    if (at < text.size() && text[at] == '+') ++at;
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    float value = 0;
    const char* stop = ParsePlainDecimal(first, last, value);
    if (!stop) {
        const auto result = std::from_chars(first, last, value, std::chars_format::general);
        if (result.ec != std::errc() || !std::isfinite(value)) return false;
        stop = result.ptr;
    }
    const size_t end = static_cast<size_t>(stop - text.data());
    if (!EndsField(end)) return false;
    out = value;
    pos = end;
    return true;
}

template <typename Integer>
bool MqoLineCursor::ReadInteger(Integer& out)
{
    SkipBlanks();
    size_t at = pos;
    if (at < text.size() && text[at] == '+') ++at;
    Integer value = 0;
    const auto result = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (result.ec != std::errc()) return false;
    const size_t end = static_cast<size_t>(result.ptr - text.data());
    if (!EndsField(end)) return false;
    out = value;
    pos = end;
    return true;
}

bool MqoLineCursor::Uint(uint32_t& out) { return ReadInteger(out); }

bool MqoLineCursor::Int(int32_t& out) { return ReadInteger(out); }

bool MqoLineCursor::SkipArguments()
{
    size_t at = pos;
    while (at < text.size()) {
        const char c = text[at];
        if (c == ')') {
            pos = at + 1;
            return true;
        }
        if (c == '"') {
            const size_t close = text.find('"', at + 1);
            if (close == std::string_view::npos) return false;
            at = close + 1;
        } else {
            ++at;
        }
    }
    return false;
}

bool MqoLineOpensChunk(std::string_view line)
{
    line = Trim(line);
    return !line.empty() && line.back() == '{';
}

bool MqoLineClosesChunk(std::string_view line)
{
    line = Trim(line);
    return !line.empty() && line.front() == '}';
}

bool MqoLineBinarySize(std::string_view line, size_t& size)
{
    line = Trim(line);
    if (line.size() < 3 || line.back() != ']') return false;
    const size_t open = line.rfind('[');
    if (open == std::string_view::npos) return false;
    const std::string_view digits = line.substr(open + 1, line.size() - open - 2);
    if (digits.empty()) return false;
    size_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        const size_t digit = static_cast<size_t>(c - '0');
        if (value > (SIZE_MAX - digit) / 10) {
            size = SIZE_MAX;
            return true;
        }
        value = value * 10 + digit;
    }
    size = value;
    return true;
}

bool MqoNameEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

}  // namespace m3d
