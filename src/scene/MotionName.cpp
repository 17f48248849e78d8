#include "scene/MotionName.h"

#include "text/ShiftJis.h"
#include "text/UiText.h"

namespace m3d {

std::string ValidateMotionName(const std::string& name, const std::vector<Motion>& motions)
{
    if (name.empty()) return UiText("core", "名前が入力されていません");
    const std::optional<size_t> bytes = ShiftJisByteLength(name);
    if (!bytes) return UiText("core", "モーション名に使えない文字があります");
    if (*bytes > static_cast<size_t>(kMaxMotionNameBytes)) return UiText("core", "モーション名は16文字までです");
    for (const Motion& motion : motions)
        if (motion.name == name) return UiText("core", "同じモーション名があります");
    return std::string();
}

}  // namespace m3d
