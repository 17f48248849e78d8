#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace m3d::soak {

// One step of a soak run, as it is logged and replayed: a verb ("mouse",
// "key", "menu-item"...) and its named values, in the order they were given.
// Everything the step does is in it, so a logged run replays without the
// random source.
struct SoakAction {
    std::string verb;
    std::vector<std::pair<std::string, std::string>> fields;

    SoakAction& Set(const std::string& key, const std::string& value);
    SoakAction& Set(const std::string& key, int value);
    // The value of key; "" when it is missing.
    std::string Get(const std::string& key) const;
    // The value of key as an integer; fallback when it is missing or not one.
    int GetInt(const std::string& key, int fallback = 0) const;
    bool Has(const std::string& key) const;
};

// The action as one line of the log: "verb key=value ...", with a space, a
// control character, '%' and '=' in values percent-encoded, so that a value
// never splits the line or its fields.
std::string ActionText(const SoakAction& action);
// The action of a line written by ActionText; nullopt for a line that is not one.
std::optional<SoakAction> ParseActionText(std::string_view text);

}  // namespace m3d::soak
