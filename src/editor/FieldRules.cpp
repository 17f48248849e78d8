#include "editor/FieldRules.h"

#include "text/NumberText.h"
#include "text/UiText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace m3d {

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Shortest text that reads back as the same float ("0.0001", "10000").
std::string NumberText(float x)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(x));
    return buffer;
}

}  // namespace

FieldCheck CheckIntegerField(const std::string& text, int minimum, int maximum, int& value)
{
    int parsed = 0;
    if (!ParseInteger(Trimmed(text), parsed)) return {false, UiText("core", "整数を入力してください。")};
    if (parsed < minimum || parsed > maximum)
        return {false, WithArguments(UiText("core", "%1 から %2 までの整数を入力してください。"),
                                     {std::to_string(minimum), std::to_string(maximum)})};
    value = parsed;
    return {true, std::string()};
}

FieldCheck CheckFloatField(const std::string& text, float minimum, float maximum, float& value)
{
    float parsed = 0.0f;
    if (!ParseFloat(Trimmed(text), parsed)) return {false, UiText("core", "数値を入力してください。")};
    if (parsed < minimum || parsed > maximum)
        return {false, WithArguments(UiText("core", "%1 から %2 までの数値を入力してください。"),
                                     {NumberText(minimum), NumberText(maximum)})};
    value = parsed;
    return {true, std::string()};
}

std::string FloatFieldText(float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value == 0.0f ? 0.0 : static_cast<double>(value));
    return buffer;
}

std::string TransformFieldText(float value)
{
    if (!std::isfinite(value)) return FloatFieldText(value);
    // Six significant digits as the fields always showed, four decimals at most.
    const double magnitude = std::fabs(static_cast<double>(value));
    int decimals = 4;
    for (double limit = 100.0; decimals > 0 && magnitude >= limit - 0.00005; limit *= 10.0) --decimals;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    std::string text = buffer;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

int StepUpDown(const std::string& fieldText, int delta, int minimum, int maximum, int lastPosition)
{
    int position = lastPosition;
    if (int typed = 0; ParseInteger(Trimmed(fieldText), typed) && typed >= minimum && typed <= maximum)
        position = typed;
    const long long stepped = static_cast<long long>(position) + delta;
    return static_cast<int>(std::clamp<long long>(stepped, minimum, maximum));
}

}  // namespace m3d
