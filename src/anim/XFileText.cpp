#include "anim/XFileText.h"

#include <charconv>

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

void XFileText::Begin()
{
    text.append(static_cast<size_t>(level), ' ');
}

void XFileText::AddFloat(float value)
{
    // to_chars with a precision is defined as printf with that precision in the
    // C locale, and it never consults the global locale.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, 6);
    text.append(buffer, result.ptr);
}

void XFileText::AddInt(int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}
