#pragma once

#include <string>
#include <vector>

namespace m3d {

// Splits a command's words into plain words (paths, in order) and the integer
// after option (value is left as it is when option is absent); "--overwrite"
// sets *overwrite when the command offers it (overwrite not null). false for
// any other "--" word, an option without its number or a number that is not
// an integer: a misuse.
bool ParseWordsAndIntOption(const std::vector<std::string>& args, const std::string& option, int& value,
                            std::vector<std::string>& words, bool* overwrite = nullptr);

// Takes "option X" out of args into value (left as it is when the option is
// absent). false when X is missing or no finite number above 0: a misuse.
bool TakeScaleOption(std::vector<std::string>& args, const std::string& option, float& value);

// Takes "option TEXT" out of args into value (left as it is when the option
// or its text is absent; a lone option stays in args for the caller to refuse).
void TakeTextOption(std::vector<std::string>& args, const std::string& option, std::string& value);

// Takes every "option" word out of args; true when there was one.
bool TakeFlag(std::vector<std::string>& args, const std::string& option);

}  // namespace m3d
