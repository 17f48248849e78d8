#pragma once

#include <optional>
#include <string>

namespace m3d {

// The interface languages by their codes: Japanese "ja", the default, and English "en".
inline constexpr const char* kDefaultInterfaceLanguage = "ja";

// True for a code the interface has.
bool IsInterfaceLanguage(const std::string& code);

// The language of a start: chosen (on the command line) when given, else
// remembered (in the settings file) when it is a code the interface has, else
// Japanese.
std::string StartLanguage(const std::optional<std::string>& chosen, const std::string& remembered);

}  // namespace m3d
