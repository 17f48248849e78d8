#include "anim/XFileText.h"

#include "io/FileSink.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace m3d {

namespace {
// With a sink, the text is handed over whenever it passes this size.
constexpr size_t kSinkChunkBytes = size_t(256) << 10;
}  // namespace

void XFileText::Line(std::string_view line)
{
    Begin();
    text += line;
    End();
}

void XFileText::Open(std::string_view head)
{
    Begin();
    text += head;
    text += " {";
    End();
    ++level;
}

void XFileText::Close()
{
    if (level > 0) --level;
    Line("}");
}

void XFileText::Begin() { text.append(static_cast<size_t>(std::min(level, kMaxIndent)), ' '); }

void XFileText::End()
{
    text += "\r\n";
    if (sink && text.size() >= kSinkChunkBytes) {
        sink->Write(text);
        text.clear();
    }
}

void XFileText::Reserve(size_t bytes)
{
    if (!sink) text.reserve(text.size() + bytes);
}

bool XFileText::Finish()
{
    if (!sink) return true;
    sink->Write(text);
    text.clear();
    return sink->Ok();
}

void XFileText::AddFloat(float value)
{
    // A float times 10^6 needs at most 38 significant bits, so the product in
    // double is exact and rounding it to an integer (ties to even) rounds
    // exactly as printf does. Exports write millions of numbers; this is
    // several times faster than the general conversion, which remains for
    // very large values, infinities and NaN.
    const double scaled = static_cast<double>(value) * 1e6;
    if (std::fabs(scaled) < 9.0e18) {
        const long long units = std::llrint(std::fabs(scaled));
        char buffer[32];
        char* end = buffer + sizeof buffer;
        char* p = end;
        long long rest = units;
        for (int digit = 0; digit < 6; ++digit, rest /= 10) *--p = static_cast<char>('0' + rest % 10);
        *--p = '.';
        do {
            *--p = static_cast<char>('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (std::signbit(value)) *--p = '-';
        text.append(p, end);
        return;
    }
    // to_chars with a precision is defined as printf with that precision in the
    // C locale, and it never consults the global locale.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 6);
    text.append(buffer, result.ptr);
}

void XFileText::AddInt(int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

}  // namespace m3d
