#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace m3d {

// Builds compact JSON text. Floats are written with nine significant digits so
// that they read back to the same 32-bit value; strings are escaped (UTF-8 kept).
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // Starts a member of the current object; the value call follows.
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view value);
    JsonWriter& Int(int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Float(float value);
    // The shortest text that reads back as value (0.01 is "0.01"); null when not finite.
    JsonWriter& Double(double value);
    JsonWriter& Floats(const float* values, int count);
    const std::string& Text() const { return text; }

private:
    void Separate();
    std::string text;
    bool needComma = false;
};

}  // namespace m3d
