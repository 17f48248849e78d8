#pragma once

#include <string>

class Scene;

// Loads a project for a command. Any problem (unreadable or damaged file,
// missing or unreadable object file) is printed as one line on stderr and
// gives false: a command never works on a partly loaded model.
bool LoadProjectForCommand(Scene& scene, const std::string& path);

// Prints text (possibly several lines) as one line on stderr.
void PrintFailure(const std::string& text);

// Parses a whole decimal integer; false for anything else.
bool ParseInteger(const std::string& text, int& value);
