#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace m3d {

// The display names in use, for giving Parts names no other Part has: a base
// name itself when it is free, else the first free "%s%05d" ("part00000",
// "part00001", ...). Names are only ever added, so the search for a base name
// resumes where its last one stopped and naming n Parts of one base name
// costs O(n) in all, not O(n) each.
class DisplayNameIndex {
public:
    // Marks name as used.
    void Add(const std::string& name);
    // The name a new Part of baseName gets; "" when baseName and all 100000
    // numbered names are taken. Does not mark it as used.
    std::string Next(const std::string& baseName);
    // Next, marked as used when it is not "".
    std::string Take(const std::string& baseName);

private:
    std::unordered_set<std::string> used;
    // Base name -> every number below it is known to be taken.
    std::unordered_map<std::string, int> firstUntried;
};

}  // namespace m3d
