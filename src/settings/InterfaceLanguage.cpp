#include "settings/InterfaceLanguage.h"

namespace m3d {

bool IsInterfaceLanguage(const std::string& code) { return code == "ja" || code == "en"; }

std::string StartLanguage(const std::optional<std::string>& chosen, const std::string& remembered)
{
    if (chosen) return *chosen;
    return IsInterfaceLanguage(remembered) ? remembered : kDefaultInterfaceLanguage;
}

}  // namespace m3d
