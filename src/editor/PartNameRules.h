#pragma once

#include <string>

namespace m3d {

class Scene;

// The message for a name that is already a Part's baseName, and the caption
// of every refused name.
extern const char* const kMirroredNameTakenText;     // "同じオブジェクト名が存在します"
extern const char* const kMirroredNameTakenCaption;  // "caution"
// The message for a name that cannot name a file.
extern const char* const kMirroredNameInvalidText;
// The message for a name a project file cannot hold.
extern const char* const kPartNameNotSavableText;

// Why a typed name cannot name a Part.
enum class PartNameProblem {
    None,
    Invalid,     // empty, or holding a folder separator (it names the Part's files)
    Taken,       // another Part has it as its baseName, in any letter case
    NotSavable,  // a control character, a character without a Shift-JIS form, or over 259 Shift-JIS bytes
    Folded,      // a character the project file would turn into another (FirstFoldedCharacter)
};

// Checks the name a Part would get from name: the text cut at its first '.',
// as every Part named after its file is (PartBaseNameOf). ignoredPart: the
// Part being renamed, whose own name does not count as taken (-1: none).
PartNameProblem CheckPartName(const Scene& scene, const std::string& name, int ignoredPart);
// The message for problem with name (in the interface language); "" for None.
// A Folded name's message says which character and what to type instead.
std::string PartNameProblemMessage(PartNameProblem problem, const std::string& name);

}  // namespace m3d
