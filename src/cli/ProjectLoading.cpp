#include "cli/ProjectLoading.h"

#include "scene/ProjectFile.h"
#include "scene/Scene.h"

#include <charconv>
#include <cstdio>

bool LoadProjectForCommand(Scene& scene, const std::string& path)
{
    const int loaded = LoadProject(scene, path);
    if (loaded && scene.lastLoadError.empty()) return true;
    PrintFailure(scene.lastLoadError.empty() ? path + ": cannot be loaded" : scene.lastLoadError);
    return false;
}

void PrintFailure(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += "; ";
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == ';')) line.pop_back();
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool ParseInteger(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && rest == end;
}
