#include "scene/MessageLists.h"

#include "io/PathLookup.h"
#include "text/UiText.h"

namespace m3d {

std::string QuotedFileNames(const std::vector<std::string>& paths)
{
    std::string names;
    for (size_t i = 0; i < paths.size() && i < kNamedInMessage; ++i)
        names += WithArguments(UiText("core", "「%1」"), {FileNameOf(paths[i])});
    if (paths.size() > kNamedInMessage)
        names += WithArguments(UiText("core", "ほか%1個のファイル"), {std::to_string(paths.size() - kNamedInMessage)});
    // A translation's pieces may end in a space to keep the names apart.
    names.erase(names.find_last_not_of(' ') + 1);
    return names;
}

std::string FirstLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size() && i < kNamedInMessage; ++i) text += (i == 0 ? "" : "\n") + lines[i];
    if (lines.size() > kNamedInMessage)
        text += "\n" + WithArguments(UiText("core", "ほか%1個"), {std::to_string(lines.size() - kNamedInMessage)});
    return text;
}

}  // namespace m3d
