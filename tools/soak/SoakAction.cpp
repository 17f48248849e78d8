#include "SoakAction.h"

#include <charconv>
#include <cstdio>

namespace m3d::soak {

namespace {

// Kept as they are: printable ASCII but the separators and '%', and the bytes
// of UTF-8 sequences, so that Japanese menu texts stay readable.
bool IsPlain(unsigned char c) { return (c > ' ' && c < 0x7f && c != '%' && c != '=') || c >= 0x80; }

std::string Encode(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (IsPlain(c)) {
            out += char(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> Decode(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += char(high * 16 + low);
        i += 2;
    }
    return out;
}

}  // namespace

SoakAction& SoakAction::Set(const std::string& key, const std::string& value)
{
    for (auto& field : fields)
        if (field.first == key) {
            field.second = value;
            return *this;
        }
    fields.emplace_back(key, value);
    return *this;
}

SoakAction& SoakAction::Set(const std::string& key, int value) { return Set(key, std::to_string(value)); }

std::string SoakAction::Get(const std::string& key) const
{
    for (const auto& field : fields)
        if (field.first == key) return field.second;
    return std::string();
}

int SoakAction::GetInt(const std::string& key, int fallback) const
{
    const std::string text = Get(key);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value : fallback;
}

bool SoakAction::Has(const std::string& key) const
{
    for (const auto& field : fields)
        if (field.first == key) return true;
    return false;
}

std::string ActionText(const SoakAction& action)
{
    std::string line = action.verb;
    for (const auto& [key, value] : action.fields) line += " " + key + "=" + Encode(value);
    return line;
}

std::optional<SoakAction> ParseActionText(std::string_view text)
{
    SoakAction action;
    size_t at = 0;
    auto nextWord = [&]() -> std::string_view {
        while (at < text.size() && text[at] == ' ') ++at;
        const size_t start = at;
        while (at < text.size() && text[at] != ' ') ++at;
        return text.substr(start, at - start);
    };
    action.verb = std::string(nextWord());
    if (action.verb.empty()) return std::nullopt;
    for (std::string_view word = nextWord(); !word.empty(); word = nextWord()) {
        const size_t equals = word.find('=');
        if (equals == std::string_view::npos || equals == 0) return std::nullopt;
        const std::optional<std::string> value = Decode(word.substr(equals + 1));
        if (!value) return std::nullopt;
        action.fields.emplace_back(std::string(word.substr(0, equals)), *value);
    }
    return action;
}

}  // namespace m3d::soak
