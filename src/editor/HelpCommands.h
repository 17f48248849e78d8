#pragma once

#include <functional>
#include <string>

namespace m3d {

class UserPrompt;

// Opens a file in the desktop's viewer (a browser); false when none started.
using OpenFileFunction = std::function<bool(const std::string& path)>;

// Help › "目次" and "ユーザーガイド": opens the document at path with open. A
// missing file and a viewer that does not start are both said through prompt
// (caption "ヘルプ"), naming the file. True when the document was handed over.
bool OpenHelpDocument(const std::string& path, const OpenFileFunction& open, UserPrompt& prompt);

}  // namespace m3d
