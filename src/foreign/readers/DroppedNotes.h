#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace m3d {

// Appends line to a model's list of what it lost unless the list holds it already.
inline void NoteDropped(std::vector<std::string>& dropped, std::string line)
{
    if (std::find(dropped.begin(), dropped.end(), line) == dropped.end()) dropped.push_back(std::move(line));
}

}  // namespace m3d
