#include "SoakOptions.h"

#include <charconv>

namespace m3d::soak {

namespace {

template <typename T>
bool ReadNumber(const std::string& text, T& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

SoakOptions ParseSoakOptions(const std::vector<std::string>& words, std::string defaultFigureFolder)
{
    SoakOptions options;
    options.figureFolder = std::move(defaultFigureFolder);
    for (size_t i = 0; i < words.size() && options.error.empty(); ++i) {
        const std::string& word = words[i];
        if (word == "--help") {
            options.showHelp = true;
            continue;
        }
        if (i + 1 >= words.size()) {
            options.error = word + " needs a value, or is not an option";
            break;
        }
        const std::string& value = words[++i];
        bool ok = true;
        if (word == "--seed")
            ok = ReadNumber(value, options.seed);
        else if (word == "--seconds")
            ok = ReadNumber(value, options.seconds) && options.seconds >= 0;
        else if (word == "--log")
            options.logPath = value;
        else if (word == "--replay")
            options.replayPath = value;
        else if (word == "--folder")
            options.folder = value;
        else if (word == "--figure")
            options.figureFolder = value;
        else if (word == "--pace")
            ok = ReadNumber(value, options.paceMs) && options.paceMs >= 0;
        else if (word == "--hang-seconds")
            ok = ReadNumber(value, options.hangSeconds) && options.hangSeconds > 0;
        else
            options.error = "unknown option " + word;
        if (!ok) options.error = "bad value for " + word + ": " + value;
    }
    if (options.error.empty() && !options.showHelp && (options.folder.empty() || options.logPath.empty()))
        options.error = "--folder and --log are needed";
    return options;
}

const char* SoakUsage()
{
    return "usage: m3d_soak --folder DIR --log FILE [--seed N] [--seconds S] [--replay FILE]\n"
           "                [--figure DIR] [--pace MS] [--hang-seconds S]\n"
           "Drives the editor's main window with random input for S seconds (or plays the\n"
           "steps of a log written before) and writes every step to FILE. DIR receives the\n"
           "figure, the saves and exports, the settings and HOME. Run it through\n"
           "tools/soak/soak.py, which also watches memory and gives the verdict.\n";
}

}  // namespace m3d::soak
