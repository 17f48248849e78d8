#include "editor/PartNameRules.h"

#include "scene/ProjectFileFormat.h"
#include "scene/Scene.h"
#include "text/ShiftJis.h"
#include "text/StoredName.h"
#include "text/UiText.h"

#include <algorithm>

namespace m3d {

const char* const kMirroredNameTakenText = QT_TRANSLATE_NOOP("core", "同じオブジェクト名が存在します");
const char* const kMirroredNameTakenCaption = QT_TRANSLATE_NOOP("core", "caution");
const char* const kMirroredNameInvalidText =
    QT_TRANSLATE_NOOP("core", "オブジェクト名が空か、使えない文字（/ \\）を含んでいます");
const char* const kPartNameNotSavableText =
    QT_TRANSLATE_NOOP("core",
                      "プロジェクトファイルに保存できない名前です。Shift-"
                      "JISで表せる文字（制御文字を除く）で259バイトまでにしてください。");

PartNameProblem CheckPartName(const Scene& scene, const std::string& name, int ignoredPart)
{
    const std::string base = PartBaseNameOf(name);
    if (base.empty() || name.find_first_of("/\\") != std::string::npos) return PartNameProblem::Invalid;
    const bool control = std::any_of(base.begin(), base.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
    const std::optional<size_t> bytes = ShiftJisByteLength(base);
    if (control || !bytes || *bytes > size_t(kMaxPartNameBytes)) return PartNameProblem::NotSavable;
    if (FirstFoldedCharacter(base)) return PartNameProblem::Folded;
    // The project finds its files ignoring case: Arm and arm would share one.
    const std::string key = AsciiLower(base);
    for (int i = 0; i < scene.PartCount(); ++i)
        if (i != ignoredPart && AsciiLower(scene.Parts()[i]->baseName) == key) return PartNameProblem::Taken;
    return PartNameProblem::None;
}

std::string PartNameProblemMessage(PartNameProblem problem, const std::string& name)
{
    switch (problem) {
    case PartNameProblem::Invalid: return UiText("core", kMirroredNameInvalidText);
    case PartNameProblem::Taken: return UiText("core", kMirroredNameTakenText);
    case PartNameProblem::NotSavable: return UiText("core", kPartNameNotSavableText);
    case PartNameProblem::Folded:
        if (const std::optional<FoldedCharacter> folded = FirstFoldedCharacter(PartBaseNameOf(name)))
            return FoldedCharacterMessage(*folded);
        break;
    case PartNameProblem::None: break;
    }
    return std::string();
}

}  // namespace m3d
