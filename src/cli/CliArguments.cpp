#include "cli/CliArguments.h"

#include "text/NumberText.h"

#include <cstddef>

namespace m3d {

bool ParseWordsAndIntOption(const std::vector<std::string>& args, const std::string& option, int& value,
                            std::vector<std::string>& words, bool* overwrite)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (overwrite && args[i] == "--overwrite") {
            *overwrite = true;
        } else if (args[i] == option && i + 1 < args.size()) {
            if (!ParseInteger(args[++i], value)) return false;
        } else if (args[i].rfind("--", 0) != 0) {
            words.push_back(args[i]);
        } else {
            return false;
        }
    }
    return true;
}

bool TakeScaleOption(std::vector<std::string>& args, const std::string& option, float& value)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != option) continue;
        if (i + 1 >= args.size() || !ParseFloat(args[i + 1], value) || !(value > 0.0f)) return false;
        args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
        --i;
    }
    return true;
}

void TakeTextOption(std::vector<std::string>& args, const std::string& option, std::string& value)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != option) continue;
        value = args[i + 1];
        args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
        return;
    }
}

bool TakeFlag(std::vector<std::string>& args, const std::string& option)
{
    const size_t before = args.size();
    std::erase(args, option);
    return args.size() != before;
}

}  // namespace m3d
