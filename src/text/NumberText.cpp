#include "text/NumberText.h"

#include <charconv>
#include <cmath>

namespace m3d {

bool ParseInteger(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    int parsed = 0;
    const auto [rest, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || rest != end) return false;
    value = parsed;
    return true;
}

bool ParseFloat(const std::string& text, float& value)
{
    const char* end = text.data() + text.size();
    float parsed = 0.0f;
    const auto [rest, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || rest != end || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

std::string GroupedDigits(uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace m3d
