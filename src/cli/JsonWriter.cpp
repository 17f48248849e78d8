#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace m3d {

void JsonWriter::Separate()
{
    if (needComma) text += ',';
    needComma = false;
}

JsonWriter& JsonWriter::BeginObject()
{
    Separate();
    text += '{';
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    text += '}';
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    Separate();
    text += '[';
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    text += ']';
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key)
{
    String(key);
    text += ':';
    needComma = false;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view value)
{
    Separate();
    text += '"';
    for (unsigned char c : value) {
        switch (c) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                text += buffer;
            } else {
                text += static_cast<char>(c);
            }
        }
    }
    text += '"';
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    Separate();
    text += value ? "true" : "false";
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Int(int64_t value)
{
    Separate();
    text += std::to_string(value);
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Double(double value)
{
    Separate();
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    text += std::isfinite(value) ? std::string(buffer, written.ptr) : std::string("null");
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Float(float value)
{
    Separate();
    if (!std::isfinite(value)) {
        text += "null";  // JSON has no NaN or infinity
    } else {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
        text += buffer;
    }
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Floats(const float* values, int count)
{
    BeginArray();
    for (int i = 0; i < count; ++i) Float(values[i]);
    return EndArray();
}

}  // namespace m3d
