#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace m3d {

// How two names are told apart.
enum class NameCase {
    Exact,       // display names: shown, never looked up on disk
    IgnoreAscii  // base names: they name files, which a project finds ignoring the case of ASCII letters
};

// The names in use, for giving Parts names no other Part has: a name itself
// when it is free, else the first free "%s%05d" ("part00000", "part00001",
// ...). Names are only ever added, so the search for a name resumes where its
// last one stopped and naming n Parts of one name costs O(n) in all, not O(n)
// each.
class UniqueNames {
public:
    explicit UniqueNames(NameCase nameCase) : nameCase(nameCase) {}

    // Marks name as used.
    void Add(const std::string& name);
    // The name a new Part wanting wanted gets; "" when wanted and all 100000
    // numbered names are taken. Does not mark it as used.
    std::string Next(const std::string& wanted);
    // Next, marked as used when it is not "".
    std::string Take(const std::string& wanted);

private:
    std::string Key(const std::string& name) const;

    NameCase nameCase;
    std::unordered_set<std::string> used;  // keys of the names in use
    // Key of a wanted name -> every number below it is known to be taken.
    std::unordered_map<std::string, int> firstUntried;
};

}  // namespace m3d
