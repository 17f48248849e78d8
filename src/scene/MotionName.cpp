#include "scene/MotionName.h"

#include "text/ShiftJis.h"
#include "text/StoredName.h"
#include "text/UiText.h"

namespace m3d {

std::string ValidateMotionName(const std::string& name, const std::vector<Motion>& motions)
{
    if (name.empty()) return UiText("core", "名前が入力されていません");
    const std::optional<size_t> bytes = ShiftJisByteLength(name);
    if (!bytes) return UiText("core", "モーション名に使えない文字があります");
    // w〜 would come back as w～: another name, perhaps one already taken.
    if (const std::optional<FoldedCharacter> folded = FirstFoldedCharacter(name))
        return FoldedCharacterMessage(*folded);
    if (*bytes > static_cast<size_t>(kMaxMotionNameBytes)) return UiText("core", "モーション名は16文字までです");
    for (const Motion& motion : motions)
        if (motion.name == name) return UiText("core", "同じモーション名があります");
    return std::string();
}

}  // namespace m3d
