#pragma once

#include "scene/Motion.h"

#include <string>
#include <vector>

namespace m3d {

// Checks a name typed for a new or renamed Motion against every existing
// Motion (the one being renamed included). Returns the message to show:
// "名前が入力されていません" (empty), "モーション名は16文字までです" (more
// than 16 bytes in Shift-JIS), "モーション名に使えない文字があります" (a
// character with no Shift-JIS form: the project file could not hold it),
// FoldedCharacterMessage (a character the project file would turn into
// another) or
// "同じモーション名があります" (taken); "" when the name is acceptable.
std::string ValidateMotionName(const std::string& name, const std::vector<Motion>& motions);

}  // namespace m3d
